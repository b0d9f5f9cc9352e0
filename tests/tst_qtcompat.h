#pragma once

// What the tests need from QProcess that Qt 5 and Qt 6 spell differently
// (the program's own differences are in model/qtcompat.h).

#include <QProcess>
#include <functional>
#include <utility>

// A process that runs `setup` in the child, after fork and before exec.
class ChildSetupProcess : public QProcess
{
public:
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    explicit ChildSetupProcess(std::function<void()> setup) { setChildProcessModifier(std::move(setup)); }
#else
    explicit ChildSetupProcess(std::function<void()> setup) : m_setup(std::move(setup)) {}

protected:
    void setupChildProcess() override { m_setup(); }

private:
    std::function<void()> m_setup;
#endif
};
