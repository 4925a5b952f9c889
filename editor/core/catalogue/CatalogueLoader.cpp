// CElements::LoadFile: reads the compiled catalogue, one CBOR map of typed values under text
// keys ("ElementCount", "ElementName3", "AttribName3_2", "Type3-2", ...), with the reader that
// stepsmith-catalogue uses too, so that both read every file alike.
#include "core/document/CElements.h"

#include "CatalogueCbor.h"
#include "core/zml/RegularFile.h"

#include <QCoreApplication>
#include <QFile>

void CElements::LoadFile(const QString &path)
{
    m_filePath = path;
    m_loadProblems.clear();

    QFile file;
    const FileOpen opened = OpenRegularFile(file, path);
    if (opened == FileOpen::Special) {
        m_loadProblems.append(QCoreApplication::translate("CElements",
                                                          "The catalogue '%1' is a device or a "
                                                          "pipe, not a file, and was not read.")
                                  .arg(path));
        return;
    }
    if (opened != FileOpen::Opened)
        return;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    file.close();

    // A damaged file is read as far as it goes; only one without actions (not a map, no or a
    // zero "ElementCount") leaves the catalogue as it was.
    const stepsmith::catalogue::CborReadResult read = stepsmith::catalogue::fromCbor(bytes);
    if (read.catalogue.actions.isEmpty())
        return;
    Clear();

    for (const stepsmith::catalogue::Action &action : read.catalogue.actions) {
        if (Contains(action.elementName))
            continue; // the first action of a name stays
        const auto element =
            Add(action.elementName, action.description, action.containsText, action.textDescription,
                action.textRequired, action.textMultiLine, action.parent, action.text);
        if (!element)
            continue;
        element->Information = action.information;
        for (const stepsmith::catalogue::Attribute &a : action.attributes)
            (void)element->Attributes().Add(a.name, a.dataType, a.value, a.arrayValues, a.required,
                                            a.defaultValue, a.description);
    }
    m_loadProblems = DropUnwritableNames();
}
