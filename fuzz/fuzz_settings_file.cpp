// Settings file parser: any bytes parse without a fault, and what was understood survives a
// write and a second read unchanged.
#include "FuzzCheck.h"

#include "core/settings/RegFileFormat.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

bool sameContent(const RegFileContent &a, const RegFileContent &b)
{
    if (a.keys.keys() != b.keys.keys())
        return false;
    for (auto it = a.keys.cbegin(); it != a.keys.cend(); ++it) {
        const RegFileKey &other = b.keys.value(it.key());
        if (it->path != other.path || it->values.keys() != other.values.keys())
            return false;
        for (auto v = it->values.cbegin(); v != it->values.cend(); ++v) {
            const RegFileNamedValue &w = other.values.value(v.key());
            if (v->name != w.name || v->value != w.value)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString root = QStringLiteral("HKEY_CURRENT_USER");
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const RegFileContent first = RegFileFormat::parse(bytes, root);
    const QByteArray written = RegFileFormat::serialise(first, root);
    const RegFileContent second = RegFileFormat::parse(written, root);
    FUZZ_CHECK(second.skippedLines == 0);
    FUZZ_CHECK(sameContent(first, second));
    FUZZ_CHECK(RegFileFormat::serialise(second, root) == written);
    return 0;
}
