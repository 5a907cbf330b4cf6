// The one top-level window: the full-screen backdrop on which every screen stands.
#pragma once
#include <QWidget>

namespace platform {

class Stage : public QWidget {
    Q_OBJECT
public:
    static Stage* instance();

    // "The screen" of the screens: the stage's own size, in twips.
    float screenWidth() const { return float(width() * 15); }
    float screenHeight() const { return float(height() * 15); }
    void setScreenSizePixels(QSize size);  // tests pick a screen size with this

    void setBackColor(quint32 bgr);
    // Shows the backdrop, first time full screen; later, brings it in front of every screen.
    void showBackdrop();
    // The screen pointer: 11 hourglass, 0 default.
    void setMousePointer(int pointer);
    int mousePointer() const { return m_pointer; }

    // Keeps the window title on the caption of the screen in front.
    void frontChanged();
    QWidget* front() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Stage();
    QWidget* m_cover;  // the backdrop when it stands in front of screens
    int m_pointer = 0;
    bool m_pointerPending = false, m_waitShown = false;
};

}  // namespace platform
