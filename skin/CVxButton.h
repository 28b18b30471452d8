#pragma once
// Push button drawn from a horizontal strip of equally wide images in one skin
// bitmap. A click (left button released over the button) emits
// commandClicked(controlId); the main window connects every button and switch
// to its one command table.
#include "skin/CMemBm.h"

#include <QAbstractButton>
#include <memory>

// Number and meaning of the images in a button's strip.
enum class ButtonLayout : int {
    Bar = 2, // 3 images: normal, hover, pressed
    Tab = 4, // 5 images: normal, hover, pressed, checked, disabled
};

class CVxButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CVxButton(QWidget* parent = nullptr);
    ~CVxButton() override;

    bool LoadSkin(int resourceId);
    // Needs a strip. Places the button at (x, y) of parent at the size of one
    // image, stores caption (at most 49 characters) and layout, and shows it.
    bool CreateSkinButton(int controlId, int x, int y, QWidget* parent, const QString& caption, ButtonLayout layout);
    // 0, or E_INVALIDARG (0x80070057) for an empty text.
    long SetTooltipText(const QString& text);
    bool SetChecked(bool value);

    // Image index for a draw: `held` is the button pressed with the pointer on
    // it; `heldOutside` is pressed with the pointer moved off it, which cancels
    // the hover look.
    static int ChooseImage(ButtonLayout layout, bool hovered, bool held, bool heldOutside, bool checked, bool disabled);

    int controlId() const { return m_controlId; }
    int frame() const { return m_frame; }
    bool isHovered() const { return m_hovered; }
    bool isSkinChecked() const { return m_checked; }
    ButtonLayout layout() const { return m_layout; }
    QString caption() const { return m_caption; }
    QRect skinRect() const { return m_rect; }
    QSize sizeHint() const override { return m_rect.size(); }
    // The image the next paint would draw.
    int currentImage() const;

    static constexpr long kInvalidArg = static_cast<long>(0x80070057);

signals:
    void commandClicked(int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<CMemBm> m_strip;
    QString m_caption;
    bool m_hovered = false;
    bool m_checked = false;
    bool m_mousePressed = false;
    QRect m_rect;
    int m_frame = 0;
    int m_controlId = 0;
    ButtonLayout m_layout = ButtonLayout::Bar;
};
