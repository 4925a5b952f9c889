#pragma once

#include <QByteArray>
#include <QtGlobal>

// Registry value type codes, as the Windows registry numbers them.
enum RegType : quint32 {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegDwordBigEndian = 5,
    RegLink = 6,
    RegMultiSz = 7,
};

// Root key handles.
inline constexpr quint32 kHKeyCurrentUser = 0x80000001u;
inline constexpr quint32 kHKeyLocalMachine = 0x80000002u;

// One stored value: its type code and its raw bytes exactly as the registry keeps them
// (strings as UTF-16LE with their terminating zero, DWORDs as four little-endian bytes).
struct RegValue {
    quint32 type = RegNone;
    QByteArray data;

    bool operator==(const RegValue &other) const
    {
        return type == other.type && data == other.data;
    }
    bool operator!=(const RegValue &other) const { return !(*this == other); }
};
