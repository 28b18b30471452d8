#include "skin/CVxButton.h"

#include "skin/CMemoryDC.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const QColor kCaptionColours[5] = {
    QColor(255, 255, 255), QColor(0, 255, 0), QColor(128, 128, 0), QColor(255, 255, 0), QColor(128, 128, 128),
};

int imageCount(ButtonLayout layout)
{
    return layout == ButtonLayout::Tab ? 5 : 3;
}
} // namespace

CVxButton::CVxButton(QWidget* parent) : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("VxButonEx"));
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, [this] { emit commandClicked(m_controlId); });
}

CVxButton::~CVxButton() = default;

bool CVxButton::LoadSkin(int resourceId)
{
    m_strip.reset();
    auto strip = std::make_unique<CMemBm>();
    if (!strip->LoadFromResource(resourceId))
        return false;
    m_strip = std::move(strip);
    return true;
}

bool CVxButton::CreateSkinButton(int controlId, int x, int y, QWidget* parent, const QString& caption, ButtonLayout layout)
{
    if (!m_strip)
        return false;
    m_layout = layout;
    m_rect = QRect(x, y, m_strip->width / imageCount(layout), m_strip->height);
    m_controlId = controlId;
    m_caption = caption.left(49);
    setParent(parent);
    setProperty("controlId", controlId);
    setGeometry(m_rect);
    setFixedSize(m_rect.size());
    show();
    return true;
}

long CVxButton::SetTooltipText(const QString& text)
{
    if (text.isEmpty())
        return kInvalidArg;
    setToolTip(text);
    return 0;
}

bool CVxButton::SetChecked(bool value)
{
    m_checked = value;
    update();
    return true;
}

int CVxButton::ChooseImage(ButtonLayout layout, bool hovered, bool held, bool heldOutside, bool checked, bool disabled)
{
    const bool hover = hovered && !heldOutside;
    int image;
    if (layout == ButtonLayout::Bar)
        image = held ? (hovered ? 2 : 0) : (hover ? 1 : 0);
    else
        image = held ? (hovered ? 2 : (checked ? 3 : 0)) : (hover ? 1 : (checked ? 3 : 0));
    // Only the five-image strip has a disabled look; a three-image strip
    // keeps its normal image rather than cutting outside the bitmap.
    if (disabled && layout == ButtonLayout::Tab)
        image = 4;
    return image;
}

int CVxButton::currentImage() const
{
    const bool held = isDown();
    const bool heldOutside = m_mousePressed && !held;
    return ChooseImage(m_layout, m_hovered, held, heldOutside, m_checked, !isEnabled());
}

void CVxButton::paintEvent(QPaintEvent*)
{
    m_frame = currentImage();
    if (!m_strip)
        return;
    QPainter target(this);
    CMemoryDC dc(target, rect(), Qt::transparent);
    const int w = m_strip->width / imageCount(m_layout);
    const int h = m_strip->height;
    m_strip->StretchTo(dc.painter(), 0, 0, w, h, m_frame * w, 0, w, h);
    if (!m_caption.isEmpty()) {
        QPainter& p = dc.painter();
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(12);
        font.setWeight(QFont::Bold);
        p.setFont(font);
        p.setPen(kCaptionColours[m_frame]);
        p.drawText(rect().adjusted(30, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_caption);
    }
}

void CVxButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CVxButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CVxButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_mousePressed = true;
    update();
    QAbstractButton::mousePressEvent(event);
}

void CVxButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A fast second click arrives as a double-click; handled as a press, it
    // counts as a second click.
    mousePressEvent(event);
}

void CVxButton::mouseMoveEvent(QMouseEvent* event)
{
    // While the button is held the pointer is grabbed; follow it here so the
    // look is right whether or not the platform sends enter/leave meanwhile.
    if (m_mousePressed) {
        const bool inside = rect().contains(event->position().toPoint());
        if (inside != m_hovered) {
            m_hovered = inside;
            update();
        }
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CVxButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_mousePressed = false;
    QAbstractButton::mouseReleaseEvent(event);
    update();
}

void CVxButton::resizeEvent(QResizeEvent* event)
{
    // A skin button never changes size.
    if (m_rect.isValid() && size() != m_rect.size())
        resize(m_rect.size());
    QAbstractButton::resizeEvent(event);
}
