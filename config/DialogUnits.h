#pragma once
// The camera maker's dialogs are laid out in dialog units: a quarter of the
// font's average character width across, an eighth of its height down. The
// pages keep those numbers and convert them with the font they are shown in.
#include <QFont>
#include <QRect>

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const { return (units * m_baseX + 2) / 4; }
    int Y(int units) const { return (units * m_baseY + 4) / 8; }
    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const { return QSize(X(width), Y(height)); }

    // The font of the settings pages: 9 points, Korean glyphs from Noto CJK.
    static QFont PageFont();
    // The font of the notice: 8 points, same glyphs.
    static QFont NoticeFont();

private:
    int m_baseX = 6;
    int m_baseY = 12;
};
