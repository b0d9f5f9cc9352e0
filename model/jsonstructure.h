#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Looks at the structure of a JSON text before it is parsed: brackets outside
// strings, and the member names of objects. On a text that is not JSON the
// answers mean little; the parser then says what is wrong.

// Deepest nesting of arrays and objects; stops counting once past `limit`.
int jsonNestingDepth(const QByteArray &json, int limit);

// A name that one object gives to two of its members, as the text means it
// (escapes decoded), or nothing. Only objects that close are looked at.
std::optional<QString> repeatedMemberName(const QByteArray &json);
