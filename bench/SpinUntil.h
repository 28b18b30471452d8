#pragma once
// Runs the event loop until done() holds or timeoutMs passed, sleeping in the
// loop between checks as the application would; returns done().
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <functional>

inline bool SpinUntil(const std::function<bool()>& done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start();
    if (!done())
        loop.exec();
    return done();
}
