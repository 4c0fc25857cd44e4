#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QQuickItem;
class QQuickWindow;

// True while the control looks as a value written that the device has not answered yet: its
// handle or its face faded, or its text (or the item itself, a text) in the theme's dimmed colour.
bool looksPending(QQuickItem* control);

// What a window shows of something, in every frame it draws from construction until stop():
// each frame drawn asks for the next, so that no change slips between two frames. A frame that
// shows the same as the one before is not kept again.
class ShownFrames : public QObject
{
public:
    using Look = std::function<QString()>;

    ShownFrames(QQuickWindow* window, Look look);

    // Waits until one more frame has been drawn; false when none came in time.
    bool waitForFrame();
    // Waits for one more frame, then records no more; false when none came in time.
    bool stop();
    QStringList shown() const { return m_shown; }
    int drawn() const { return m_drawn; }

private:
    QQuickWindow* m_window;
    Look m_look;
    QMetaObject::Connection m_drawing;
    QStringList m_shown;
    int m_drawn = 0;
};
