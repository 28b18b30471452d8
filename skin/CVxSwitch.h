#pragma once
// Two-image on/off icon. A left press flips the state, repaints, then emits
// commandClicked(controlId): the parent's handler already reads the new state.
#include <QImage>
#include <QWidget>

class CVxSwitch : public QWidget {
    Q_OBJECT
public:
    CVxSwitch(QWidget* parent, int controlId, const QRect& rect);

    // Bitmap of two images side by side: the left one is shown while the
    // state is non-zero, the right one while it is zero.
    void SetBitmap(int resourceId);
    void SetState(int state);
    int GetState() const { return m_state; }
    int bitmapId() const { return m_bitmapId; }
    int controlId() const { return m_controlId; }

signals:
    void commandClicked(int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int m_bitmapId = 0;
    int m_state = 0;
    int m_controlId = 0;
    QImage m_bitmap;
};
