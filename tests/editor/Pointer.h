#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

namespace zor::test {

// A surface with its mouse and keys, as the window system sends them.
struct TPointer {
    QWidget* surface;

    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
        Qt::KeyboardModifiers keys = Qt::NoModifier) const
    {
        QMouseEvent e(type, QPointF(p), surface->mapToGlobal(QPointF(p)), button, held, keys);
        QApplication::sendEvent(surface, &e);
    }
    void Hover(QPoint p) const { Send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
    void Press(
        QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers keys = Qt::NoModifier) const
    {
        Send(QEvent::MouseButtonPress, p, b, b, keys);
    }
    void DragTo(QPoint p) const { Send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) const
    {
        Send(QEvent::MouseButtonRelease, p, b, Qt::NoButton);
    }
    void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton) const
    {
        Hover(p);
        Press(p, b);
        Release(p, b);
    }
    void Drag(QPoint from, QPoint to) const
    {
        Hover(from);
        Press(from);
        DragTo((from + to) / 2);
        DragTo(to);
        Release(to);
    }
    void Key(int key, Qt::KeyboardModifiers keys = Qt::NoModifier) const
    {
        QTest::keyClick(surface, Qt::Key(key), keys);
    }
    void Type(const QString& text) const { QTest::keyClicks(surface, text); }
};

} // namespace zor::test
