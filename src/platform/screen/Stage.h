// The one top-level window: the full-screen backdrop on which every screen stands.
#pragma once
#include <QHash>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <functional>

class QScreen;
#include <QWidget>
#include <memory>

namespace platform {

class Navigator;

class Stage : public QWidget {
    Q_OBJECT
public:
    static Stage* instance();
    ~Stage() override;

    // The screens and the order they stand in.
    Navigator& navigator() { return *m_navigator; }

    // Before the application starts: a scale a school fixed (VELLACOURT_SCALE) goes to Qt, which then
    // draws everything at that scale, text and pages at full sharpness.
    static void useScaleSetting();
    // Before the application starts: the scale each screen needs for the design to fill it, from
    // the X server's screens, for Qt to take as it starts. A factor given to Qt by hand is left as it is.
    static void chooseScaleBeforeStart();
    // After it starts: checks the scales against the screens Qt found; where they differ (a platform
    // other than X, a screen asked about under another name), the program starts again with the
    // right ones (and returns only if that fails).
    static void restartAtScreenScale(char** argv);
    // Whether the program chose the scale itself (no school's setting, no factor given to Qt by hand).
    static bool scaleIsOurs();
    // A screen that changes size while the program runs: the stage takes the new scale by starting the
    // program again, straight at the main menu, the next time the resting screen (the main menu, where
    // no pupil's work is open) is in front.
    void setRestingScreen(QWidget* w) {
        m_resting = w;
        rescaleWhenResting();
    }
    static std::function<void()> restartHook;  // tests: called instead of starting again
    static constexpr int ScreenSettleMs = 1000;  // a screen's new size is taken once it stays this long

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

    // F11: full screen, or the design's own size in a window; the screens stay centred.
    void toggleFullScreen();

    // Whether the pupil's last act was on the keyboard (rather than the mouse or a touch): a screen
    // that comes to the front then puts the keyboard on its first control.
    bool keyboardUser() const { return m_keyboardUser; }

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    Stage();
    void watchScreen(QScreen* s);
    void screensSettled();
    void rescaleWhenResting();
    void fitWindow();      // out of full screen: the design's size, within the work area
    void centreScreens();
    static constexpr int FrameSettleMs = 250;
    std::unique_ptr<Navigator> m_navigator;
    QWidget* m_cover;  // the backdrop when it stands in front of screens
    int m_pointer = 0;
    bool m_pointerPending = false, m_waitShown = false;
    bool m_windowed = false;  // F11 took the stage out of full screen
    bool m_keyboardUser = false;
    QPointer<QWidget> m_lastFront, m_resting;
    bool m_rescale = false;  // a screen changed size: the stage's scale is no longer the one it needs
    QHash<QScreen*, QRect> m_newGeometry;
    QTimer m_screensSettle;
};

}  // namespace platform
