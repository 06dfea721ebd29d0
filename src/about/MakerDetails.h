#pragma once

#include <QString>

// The maker's details shown in the about box and on the product page. They are placeholders
// under the reserved domain example.org and name no real person or firm.
namespace Maker {
inline QString name()
{
    return QStringLiteral("Strivo-Entwicklung (Beispieladresse)");
}
inline QString street()
{
    return QStringLiteral("Musterweg 1");
}
inline QString town()
{
    return QStringLiteral("00000 Musterstadt");
}
inline QString phone()
{
    return QStringLiteral("Telefon: 00000 000000");
}
inline QString fax()
{
    return QStringLiteral("Fax: 00000 000001");
}
inline QString email()
{
    return QStringLiteral("info@example.org");
}
inline QString homepage()
{
    return QStringLiteral("https://www.example.org/");
}
} // namespace Maker
