#pragma once

#include "model/translation.h"

#include <QString>

// Shows the interface in Chinese until the end of the scope, so a failing
// check does not leave the next test function in Chinese.
class ChineseInterface
{
public:
    ChineseInterface() { setInterfaceChinese(true); }
    ~ChineseInterface() { setInterfaceChinese(false); }
    ChineseInterface(const ChineseInterface &) = delete;
    ChineseInterface &operator=(const ChineseInterface &) = delete;
};

// What `words` gives while the interface is shown in Chinese.
template <typename Words>
QString inChinese(Words words)
{
    const ChineseInterface chinese;
    return words();
}
