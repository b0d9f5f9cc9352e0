#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMetaEnum>
#include <QPointer>
#include <QVector>
#include <cstdio>

// Where a stall's time went: every event the application delivers, with
// the events it delivered inside it, timed. Only events of at least
// `thresholdMs` are kept, to a depth of four. Switched on by
// ZENTRIK_BENCH_EVENTS=1; `printSince` prints the tree of what one
// figure's change delivered.
class TracingApplication : public QApplication
{
public:
    struct Entry {
        int depth;
        double ms;
        QEvent::Type type;
        QByteArray receiver;
    };

    TracingApplication(int &argc, char **argv)
        : QApplication(argc, argv)
        , m_enabled(qEnvironmentVariableIntValue("ZENTRIK_BENCH_EVENTS") == 1)
    {
        bool ok = false;
        const double threshold = qEnvironmentVariable("ZENTRIK_BENCH_EVENTS_MS").toDouble(&ok);
        if (ok)
            m_thresholdMs = threshold;
    }

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!m_enabled || m_depth >= kMaxDepth)
            return QApplication::notify(receiver, event);
        const int slot = m_entries.size();
        m_entries.append({m_depth, 0, event->type(), QByteArray()});
        // The receiver may be gone afterwards (a deferred delete).
        const QMetaObject *type = receiver->metaObject();
        const QPointer<QObject> alive(receiver);
        QElapsedTimer timer;
        timer.start();
        ++m_depth;
        const bool result = QApplication::notify(receiver, event);
        --m_depth;
        const double ms = timer.nsecsElapsed() / 1e6;
        if (ms < m_thresholdMs) {
            m_entries.resize(slot); // with what it delivered
        } else {
            Entry &entry = m_entries[slot];
            entry.ms = ms;
            entry.receiver = QByteArray(type->className()) + ' '
                + (alive ? alive->objectName().toUtf8() : QByteArray("(deleted)"));
        }
        return result;
    }

    int mark() const { return m_entries.size(); }

    void printSince(int mark, double overMs) const
    {
        if (!m_enabled)
            return;
        const QMetaEnum types = QMetaEnum::fromType<QEvent::Type>();
        for (int i = mark; i < m_entries.size(); ++i) {
            const Entry &e = m_entries[i];
            if (e.depth == 0 && e.ms < overMs) {
                // Skip this event and everything inside it.
                while (i + 1 < m_entries.size() && m_entries[i + 1].depth > 0)
                    ++i;
                continue;
            }
            std::printf("    %*s%7.2f ms %s -> %s\n", 2 * e.depth, "", e.ms,
                        types.valueToKey(e.type), e.receiver.constData());
        }
    }

private:
    static constexpr int kMaxDepth = 4;
    bool m_enabled;
    double m_thresholdMs = 0.4;
    int m_depth = 0;
    QVector<Entry> m_entries;
};
