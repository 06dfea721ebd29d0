#include "model/Flag.h"

namespace {
const QString kJa = QStringLiteral("Ja");
}

bool isJa(const QVariant &stored)
{
    return !stored.isNull() && stored.toString() == kJa;
}

bool isYes(const QVariant &stored)
{
    return !stored.isNull() && stored.toBool();
}

Flag::Flag(Kind kind)
    : m_kind(kind)
    , m_stored(kind == Kind::Boolean ? QVariant(qlonglong(0)) : QVariant())
{
}

Flag Flag::fromStored(Kind kind, const QVariant &stored)
{
    Flag flag(kind);
    flag.m_stored = stored;
    return flag;
}

bool Flag::isSet() const
{
    return m_kind == Kind::Boolean ? isYes(m_stored) : isJa(m_stored);
}

void Flag::set(bool on)
{
    switch (m_kind) {
    case Kind::Boolean:
        m_stored = qlonglong(on ? 1 : 0);
        break;
    case Kind::JaBlank:
        m_stored = on ? kJa : QStringLiteral(" ");
        break;
    case Kind::JaEmpty:
        m_stored = on ? kJa : QStringLiteral("");
        break;
    }
}
