#include "gui/widgets/ModalRunner.h"

#include <QDialog>

namespace {
ModalRunner &runner()
{
    static ModalRunner current;
    return current;
}
} // namespace

int RunModal(QDialog &dialog)
{
    if (runner())
        return runner()(dialog);
    return dialog.exec();
}

ModalRunner SetModalRunner(ModalRunner r)
{
    ModalRunner previous = std::move(runner());
    runner() = std::move(r);
    return previous;
}
