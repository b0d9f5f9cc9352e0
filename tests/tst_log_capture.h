#pragma once

// The program's log lines while a LogCapture lives, from any thread. Tests
// read them only where a line is itself what the program must print; for
// everything else they look at the store, the keypad and the window.
// Warnings and worse still reach the handler installed before, so a test run
// shows them and QTest::ignoreMessage keeps working.

#include <QStringList>
#include <QtGlobal>

#include <mutex>

class LogCapture
{
public:
    LogCapture()
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        s_self = this;
        m_previous = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture()
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        qInstallMessageHandler(m_previous);
        s_self = nullptr;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    // A list of its own: one sharing the captured list would be dropped on
    // this thread while a worker's next line grows that list.
    QStringList lines() const
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        QStringList copy;
        copy.reserve(m_lines.size());
        for (const QString &line : m_lines)
            copy.append(line);
        return copy;
    }
    bool has(const QString &line) const { return count(line) > 0; }
    int count(const QString &line) const
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        return m_lines.count(line);
    }
    bool hasStartingWith(const QString &prefix) const { return countStartingWith(prefix) > 0; }
    int countStartingWith(const QString &prefix) const
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        int n = 0;
        for (const QString &line : m_lines)
            n += line.startsWith(prefix) ? 1 : 0;
        return n;
    }
    void clear()
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        m_lines.clear();
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        QtMessageHandler previous = nullptr;
        {
            std::lock_guard<std::mutex> lock(s_mutex);
            if (!s_self)
                return;
            previous = s_self->m_previous;
            // The link's per-poll lines: thousands of them, and none a test reads.
            // A copy of its own: the logging thread may still write into the
            // text it handed over, which this thread later frees.
            if (type != QtDebugMsg || !message.contains(QLatin1String(" poll ret=")))
                s_self->m_lines << QString(message.constData(), message.size());
        }
        if (type != QtDebugMsg && previous)
            previous(type, context, message);
    }

    // A standard mutex: the thread checker sees all of its locking.
    static inline std::mutex s_mutex;
    static inline LogCapture *s_self = nullptr;
    QtMessageHandler m_previous = nullptr;
    QStringList m_lines;
};
