#include "config/DialogUnits.h"

#include <QFontMetrics>

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics fm(font);
    // The average width over the Latin letters, rounded as the dialog manager
    // of the camera maker's platform does it.
    const int width = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (width / 26 + 1) / 2;
    // Noto CJK's line height carries generous leading the original font did
    // not have; its ascent plus a little descent matches the original's cell.
    m_baseY = fm.ascent() + fm.descent() / 2;
    if (m_baseX < 1)
        m_baseX = 1;
    if (m_baseY < 1)
        m_baseY = 1;
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const
{
    return QRect(X(x), Y(y), X(width), Y(height));
}

QFont DialogUnits::PageFont()
{
    QFont font(QStringLiteral("Noto Sans CJK KR"));
    font.setPointSize(9);
    return font;
}

QFont DialogUnits::NoticeFont()
{
    QFont font(QStringLiteral("Noto Sans CJK KR"));
    font.setPointSize(8);
    return font;
}
