#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>
#include <string>

namespace zor::test {

// The child of that object name and type; a missing one fails the test with its name.
template <class W> W& Child(QObject& parent, const char* name)
{
    W* w = parent.findChild<W*>(QString::fromLatin1(name));
    if (!w)
        throw std::runtime_error(std::string("no child ") + name);
    return *w;
}

} // namespace zor::test
