#pragma once
// Bar of four proportions side by side (the card's space per category). The
// fourth segment always reaches the right edge so rounding leaves no gap.
#include <QWidget>
#include <array>
#include <cstdint>

class CVxProgress : public QWidget {
    Q_OBJECT
public:
    explicit CVxProgress(QWidget* parent = nullptr);

    void SetSegments(std::uint32_t s1, std::uint32_t s2, std::uint32_t s3, std::uint32_t s4, std::uint32_t total);

    // Widths of the four segments on a bar `width` pixels wide; the fourth is
    // whatever the first three leave, or 0 when its own share rounds to 0.
    // All zero when total is 0.
    static std::array<int, 4> SegmentWidths(const std::array<std::uint32_t, 4>& s, std::uint32_t total, int width);

    static const std::array<QColor, 4>& SegmentColours();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<std::uint32_t, 4> m_s{0, 0, 0, 0};
    std::uint32_t m_total = 100;
};
