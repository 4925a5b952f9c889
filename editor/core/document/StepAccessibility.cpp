#include "core/document/StepAccessibility.h"

#include "core/document/StepRowGeometry.h"
#include "core/document/StepView.h"

#include <QCoreApplication>

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(StepList)
};

} // namespace

QString StepAccessibleName(const StepView &step)
{
    QString name = VisualCaption(step);
    name.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return name;
}

QString StepAccessibleDescription(const StepView &step, int line, int depth)
{
    QString description = Texts::tr("Line %1, level %2").arg(line).arg(depth + 1);
    if (step.IsComment())
        description = Texts::tr("%1, comment").arg(description);
    if (step.Disabled())
        description = Texts::tr("%1, disabled").arg(description);
    return description;
}
