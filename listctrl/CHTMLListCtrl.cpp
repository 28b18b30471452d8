#include "listctrl/CHTMLListCtrl.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {

const QColor kClientBackground(30, 30, 30);
const QColor kSelectedText(255, 255, 255);
const QColor kNormalText(164, 171, 178);

constexpr int kCheckStripWidth = 128;
constexpr int kRowStripWidth = 383;
constexpr int kDateLeftWithoutCheck = 13;
constexpr int kDateWidth = 122;
constexpr int kNameWidth = 154;
constexpr int kTypeWidth = 85;
constexpr int kColumnGap = 10;
constexpr int kWheelDelta = 120; // one notch

// Flat stand-ins with the skin strips' geometry, used while a skin bitmap is
// missing so the list stays readable.
QPixmap fallbackCheckStrip()
{
    QPixmap pm(kCheckStripWidth, CHTMLListCtrl::kStripeHeight);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    for (int cell = 0; cell < 4; ++cell) {
        const bool selected = (cell % 2) == 0;
        const bool ticked = cell >= 2;
        const int x = cell * CHTMLListCtrl::kCheckBoxWidth;
        p.fillRect(x, 0, CHTMLListCtrl::kCheckBoxWidth, CHTMLListCtrl::kStripeHeight,
                   selected ? QColor(54, 84, 128) : QColor(38, 40, 44));
        p.fillRect(x, 19, CHTMLListCtrl::kCheckBoxWidth, 1,
                   selected ? QColor(70, 100, 146) : QColor(50, 53, 58));
        p.setPen(QColor(150, 156, 162));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(x + 10.5, 4.5, 11, 11));
        if (ticked) {
            p.setPen(QPen(QColor(235, 235, 235), 2));
            const QPointF pts[] = {{x + 12.5, 10.0}, {x + 15.0, 13.0}, {x + 20.0, 6.5}};
            p.drawPolyline(pts, 3);
        }
    }
    return pm;
}

QPixmap fallbackRowStrip()
{
    QPixmap pm(kRowStripWidth, 2 * CHTMLListCtrl::kStripeHeight);
    QPainter p(&pm);
    p.fillRect(0, 0, kRowStripWidth, 20, QColor(38, 40, 44));
    p.fillRect(0, 19, kRowStripWidth, 1, QColor(50, 53, 58));
    p.fillRect(0, 20, kRowStripWidth, 20, QColor(54, 84, 128));
    p.fillRect(0, 39, kRowStripWidth, 1, QColor(70, 100, 146));
    return pm;
}

QPixmap loadSkin(const char* path)
{
    QPixmap pm(QString::fromLatin1(path));
    return pm;
}

} // namespace

CHTMLListCtrl::CHTMLListCtrl(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("HTMLListCtrl"));
    setProperty("controlId", kControlId);
    // Every pixel of the client is painted, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);

    m_font = QFont(QStringLiteral("Tahoma"));
    m_font.setPixelSize(11);
    m_font.setWeight(QFont::Normal);
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setStyleStrategy(QFont::PreferAntialias);

    QPixmap check = loadSkin(":/bitmaps/134.png");
    QPixmap row = loadSkin(":/bitmaps/138.png");
    SetSkinImages(check, row);

    m_vbar = new QScrollBar(Qt::Vertical, this);
    m_vbar->setRange(0, 0);
    m_vbar->setSingleStep(kScrollStep);
    m_vbar->setFocusPolicy(Qt::NoFocus);
    m_vbar->hide();
    connect(m_vbar, &QScrollBar::actionTriggered, this, &CHTMLListCtrl::onScrollAction);
    connect(m_vbar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    updateClientSize();
}

CHTMLListCtrl::~CHTMLListCtrl() = default;

bool CHTMLListCtrl::Create(QWidget* parent, const QRect& rect)
{
    if (parent != parentWidget())
        setParent(parent);
    setGeometry(rect);
    updateClientSize();
    UpdateScrollRange();
    show();
    return true;
}

void CHTMLListCtrl::SetSkinImages(const QPixmap& checkStrip, const QPixmap& rowStrip)
{
    m_checkStrip = checkStrip.isNull() ? fallbackCheckStrip() : checkStrip;
    m_rowStrip = rowStrip.isNull() ? fallbackRowStrip() : rowStrip;
    update();
}

QString CHTMLListCtrl::FormatRowTime(const HTMLLIST_TIME& t)
{
    return QString::asprintf("%02d.%02d.%02d. %02d:%02d:%02d", int(t.year), int(t.month),
                             int(t.day), int(t.hour), int(t.minute), int(t.second));
}

int CHTMLListCtrl::InsertRow(int kind, const QString& text, const QString& path,
                             const QString& typeText, int userData, int height,
                             const HTMLLIST_TIME& time)
{
    auto item = std::make_unique<HTMLLIST_ITEM>();
    item->index = m_rowCount;
    item->kind = kind;
    item->text = text;
    item->path = path;
    item->typeText = typeText;
    item->time = time;
    item->userData = userData;
    item->height = std::max(0, height);
    item->fixedHeight = 1;
    m_totalHeight += item->height;
    m_rows.push_back(std::move(item));
    ++m_rowCount;
    UpdateScrollRange();
    update();
    return m_rowCount - 1;
}

void CHTMLListCtrl::DeleteAllRows()
{
    m_rows.clear();
    m_rowCount = 0;
    m_totalHeight = 0;
    m_vbar->setValue(0);
    UpdateScrollRange();
    update();
}

bool CHTMLListCtrl::DeleteRow(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        return false;
    // A selection after the deleted row keeps its number and so passes to the
    // following recording, as the main window's stored views expect.
    if (m_selection == row)
        m_selection = -1;
    m_totalHeight -= m_rows[row]->height;
    m_rows.erase(m_rows.begin() + row);
    --m_rowCount;
    for (int i = 0; i < int(m_rows.size()); ++i)
        m_rows[i]->index = i;
    // With no following row left the selection would name no row at all.
    if (m_selection >= m_rowCount)
        m_selection = -1;
    UpdateScrollRange();
    update();
    return true;
}

void CHTMLListCtrl::RecalcRows()
{
    m_rowCount = 0;
    m_totalHeight = 0;
    for (auto& item : m_rows) {
        item->index = m_rowCount++;
        m_totalHeight += item->height;
    }
}

HTMLLIST_ITEM* CHTMLListCtrl::FindRow(int row)
{
    return (row >= 0 && row < int(m_rows.size())) ? m_rows[row].get() : nullptr;
}

const HTMLLIST_ITEM* CHTMLListCtrl::FindRow(int row) const
{
    return (row >= 0 && row < int(m_rows.size())) ? m_rows[row].get() : nullptr;
}

int CHTMLListCtrl::GetRowTicked(int row) const
{
    const HTMLLIST_ITEM* item = FindRow(row);
    return item ? item->ticked : 0;
}

void CHTMLListCtrl::SetRowTicked(int row, int ticked)
{
    if (HTMLLIST_ITEM* item = FindRow(row)) {
        item->ticked = ticked;
        invalidateRow(row);
    }
}

void CHTMLListCtrl::SetSelection(int row)
{
    m_selection = row;
    update();
}

void CHTMLListCtrl::SetStyle(int style)
{
    m_style = style;
    update();
}

void CHTMLListCtrl::SelectRow(int row)
{
    m_selection = row;
    EnsureRowVisible(row);
    update();
}

void CHTMLListCtrl::EnsureRowVisible(int row)
{
    const HTMLLIST_ITEM* item = FindRow(row);
    if (!item)
        return;
    const int pos = GetScrollPos();
    int before = 0;
    for (int i = 0; i < row; ++i)
        before += m_rows[i]->height;
    int newPos;
    if (before < pos)
        newPos = before;
    else if (pos + m_clientHeight >= before + item->height)
        return;
    else
        newPos = before + item->height - m_clientHeight;
    m_vbar->setValue(newPos);
    update();
}

int CHTMLListCtrl::GetScrollPos() const
{
    return m_vbar->value();
}

void CHTMLListCtrl::SetScrollPos(int pos)
{
    m_vbar->setValue(pos);
    update();
}

int CHTMLListCtrl::GetMaxScrollPos() const
{
    return m_vbar->maximum();
}

void CHTMLListCtrl::UpdateScrollRange()
{
    m_vbar->setPageStep(std::max(1, m_clientHeight));
    m_vbar->setRange(0, std::max(0, m_totalHeight - m_clientHeight));
    // The bar takes its width from the client only while there is something to scroll.
    const bool needed = m_totalHeight > m_clientHeight;
    if (needed != m_barShown) {
        m_barShown = needed;
        m_vbar->setVisible(needed);
        updateClientSize();
        update();
    }
}

void CHTMLListCtrl::updateClientSize()
{
    const int barWidth = m_vbar->sizeHint().width();
    m_vbar->setGeometry(width() - barWidth, 0, barWidth, height());
    m_clientWidth = std::max(0, width() - (m_barShown ? barWidth : 0));
    m_clientHeight = height();
}

QRect CHTMLListCtrl::rowRect(int row) const
{
    int top = -GetScrollPos();
    for (int i = 0; i < row; ++i)
        top += m_rows[i]->height;
    return QRect(0, top, m_clientWidth, m_rows[row]->height);
}

int CHTMLListCtrl::rowAt(const QPoint& pt) const
{
    if (pt.x() < 0 || pt.x() >= m_clientWidth)
        return -1;
    int top = -GetScrollPos();
    for (int i = 0; i < int(m_rows.size()); ++i) {
        const int h = m_rows[i]->height;
        if (pt.y() >= top && pt.y() < top + h)
            return i;
        top += h;
    }
    return -1;
}

bool CHTMLListCtrl::inCheckBox(int row, const QPoint& pt) const
{
    const QRect r = rowRect(row);
    return QRect(r.topLeft(), QSize(kCheckBoxWidth, kStripeHeight)).contains(pt);
}

void CHTMLListCtrl::invalidateRow(int row)
{
    if (FindRow(row))
        update(rowRect(row));
}

void CHTMLListCtrl::sendNotify(int code, int row)
{
    const HTMLLIST_ITEM* item = FindRow(row);
    if (!item)
        return;
    HTMLLIST_NOTIFY nm;
    nm.hdr.hwndFrom = this;
    nm.hdr.idFrom = kControlId;
    nm.hdr.code = code;
    nm.row = row;
    nm.text = item->text;
    nm.itemData = item->itemData;
    nm.ticked = item->ticked;
    emit notify(nm);
}

void CHTMLListCtrl::paintEvent(QPaintEvent* e)
{
    QPainter dc(this);
    dc.setClipRegion(e->region());
    dc.setFont(m_font);
    dc.fillRect(QRect(0, 0, m_clientWidth, m_clientHeight), kClientBackground);

    // Empty-row stripes fill the whole client whatever the scroll position;
    // rows are painted over them.
    for (int k = 0; k <= m_clientHeight / kStripeHeight + 1; ++k) {
        const int y = k * kStripeHeight;
        dc.drawPixmap(QPoint(0, y), m_checkStrip,
                      QRect(kCheckBoxWidth, 0, kCheckBoxWidth, kStripeHeight));
        dc.drawPixmap(QPoint(kCheckBoxWidth, y), m_rowStrip,
                      QRect(0, 0, m_clientWidth - kCheckBoxWidth, kStripeHeight));
    }

    // Every row learns where it sits; only those meeting the update region are drawn.
    m_clipBox = e->rect();
    int top = -GetScrollPos();
    for (int i = 0; i < int(m_rows.size()); ++i) {
        HTMLLIST_ITEM& item = *m_rows[i];
        const QRect rc(0, top, m_clientWidth, item.height);
        if (rc.bottom() >= m_clipBox.top() && rc.top() <= m_clipBox.bottom())
            DrawRow(dc, rc, item, i == m_selection, i);
        item.rect = rc;
        top += item.height;
    }
}

void CHTMLListCtrl::DrawRow(QPainter& dc, const QRect& rc, const HTMLLIST_ITEM& item,
                            bool selected, int row)
{
    Q_UNUSED(row);
    if (rc.bottom() < m_clipBox.top() || rc.top() > m_clipBox.bottom())
        return;

    const int x = rc.left();
    const int y = rc.top();
    const int h = rc.height();
    dc.drawPixmap(QPoint(x + kCheckBoxWidth, y), m_rowStrip,
                  QRect(0, selected ? kStripeHeight : 0, rc.width() - kCheckBoxWidth, h));
    if (hasCheckColumn()) {
        const int cell = (item.ticked ? 2 * kCheckBoxWidth : 0) + (selected ? 0 : kCheckBoxWidth);
        dc.drawPixmap(QPoint(x, y), m_checkStrip, QRect(cell, 0, kCheckBoxWidth, h));
    }

    if (item.kind != HTMLLIST_KIND_RECORDING)
        return;
    dc.save();
    dc.setPen(selected ? kSelectedText : kNormalText);
    dc.setBackgroundMode(Qt::TransparentMode);
    const int dateLeft = hasCheckColumn() ? x + kCheckBoxWidth : kDateLeftWithoutCheck;
    const int nameLeft = dateLeft + kDateWidth + kColumnGap;
    const int typeLeft = nameLeft + kNameWidth + kColumnGap;
    dc.drawText(QRect(dateLeft, y, kDateWidth, h), Qt::AlignCenter | Qt::TextSingleLine,
                FormatRowTime(item.time));
    dc.drawText(QRect(nameLeft, y, kNameWidth, h),
                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, item.text);
    // Shortened to what is visible of the column, so a scroll bar covering
    // its end leaves an ellipsis rather than a cut letter.
    const int typeWidth = std::max(0, std::min(kTypeWidth, rc.right() + 1 - typeLeft));
    const QString type = dc.fontMetrics().elidedText(item.typeText, Qt::ElideRight, typeWidth);
    dc.drawText(QRect(typeLeft, y, kTypeWidth, h),
                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, type);
    dc.restore();
}

void CHTMLListCtrl::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    updateClientSize();
    RecalcRows();
    UpdateScrollRange();
    update();
}

void CHTMLListCtrl::mousePressEvent(QMouseEvent* e)
{
    const Qt::MouseButton button = e->button();
    if (button != Qt::LeftButton && button != Qt::RightButton) {
        e->accept();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint pt = e->position().toPoint();
    m_selection = -1;
    update(); // a click outside the rows clears the highlight too
    e->accept();
    const int row = rowAt(pt);
    if (row < 0)
        return;
    const bool onBox = hasCheckColumn() && inCheckBox(row, pt);
    if (button == Qt::LeftButton) {
        if (onBox)
            m_rows[row]->ticked = !m_rows[row]->ticked;
        m_selection = row;
        return;
    }
    if (onBox) {
        m_rows[row]->ticked = !m_rows[row]->ticked;
        sendNotify(HTMLLIST_CHECKCHANGED, row);
        // The parent may have emptied or refilled the list meanwhile.
        if (!FindRow(row))
            return;
    }
    m_selection = row;
    update();
    sendNotify(HTMLLIST_RCLICK, row);
}

void CHTMLListCtrl::mouseDoubleClickEvent(QMouseEvent* e)
{
    // The first click of the pair already selected the row (and flipped a
    // check box); the second only reports the double click.
    e->accept();
    if (e->button() != Qt::LeftButton)
        return;
    const int row = rowAt(e->position().toPoint());
    if (row >= 0)
        sendNotify(HTMLLIST_DBLCLK, row);
}

void CHTMLListCtrl::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (e->key() == Qt::Key_Up) {
            if (m_selection == -1) {
                if (m_rowCount > 0)
                    m_selection = 0;
            } else if (m_selection > 0) {
                --m_selection;
            }
        } else {
            if (m_selection == -1)
                m_selection = m_rowCount - 1;
            else if (m_selection < m_rowCount - 1)
                ++m_selection;
        }
        EnsureRowVisible(m_selection);
        update();
        e->accept();
        sendNotify(HTMLLIST_SELCHANGED, m_selection);
        return;
    }
    case Qt::Key_Space:
        e->accept();
        if (hasCheckColumn()) {
            if (HTMLLIST_ITEM* item = FindRow(m_selection)) {
                item->ticked = !item->ticked;
                invalidateRow(m_selection);
                sendNotify(HTMLLIST_CHECKCHANGED, m_selection);
            }
        }
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void CHTMLListCtrl::wheelEvent(QWheelEvent* e)
{
    e->accept();
    const int dy = e->angleDelta().y();
    if (dy == 0)
        return; // a sideways wheel does not scroll the list
    // High-resolution wheels deliver fractions of a notch; collect them.
    if (m_wheelRemainder != 0 && (dy > 0) != (m_wheelRemainder > 0))
        m_wheelRemainder = 0;
    m_wheelRemainder += dy;
    const int notches = m_wheelRemainder / kWheelDelta;
    m_wheelRemainder -= notches * kWheelDelta;
    if (notches == 0)
        return;
    const int pos = GetScrollPos();
    const int newPos = notches < 0 ? std::min(pos - notches * kWheelStep, GetMaxScrollPos())
                                   : std::max(pos - notches * kWheelStep, 0);
    m_vbar->setValue(newPos);
    update();
}

void CHTMLListCtrl::onScrollAction(int action)
{
    // Lines and pages both move 50 pixels; the bar's top/bottom requests are ignored.
    const int pos = m_vbar->value();
    const int largest = m_vbar->maximum();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
        m_vbar->setSliderPosition(pos - std::min(pos, kScrollStep));
        break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
        m_vbar->setSliderPosition(pos + std::min(largest - pos, kScrollStep));
        break;
    case QAbstractSlider::SliderMove:
        break; // thumb tracking: the bar's own position
    default:
        m_vbar->setSliderPosition(pos);
        break;
    }
}

void CHTMLListCtrl::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    invalidateRow(m_selection);
}

void CHTMLListCtrl::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    invalidateRow(m_selection);
}
