#include "qt/Qt_File_Dialog.h"

#include <QFileDialog>

#include "platform/Paths.h"
#include "qt/Text_Codec.h"

namespace {

TFileDialogResponder& Responder() {
    static TFileDialogResponder responder;
    return responder;
}

}  // namespace

void SetFileDialogResponder(TFileDialogResponder responder) {
    Responder() = std::move(responder);
}

TFileDialog::TFileDialog(QWidget* owner, QString name, Kind kind, QString initialDir)
    : fOwner(owner), fName(std::move(name)), fKind(kind), fInitialDir(std::move(initialDir)) {}

QString TFileDialog::InitialFolder() const {
    return ToQt(LocalPath(FromQt(fInitialDir)));
}

bool TFileDialog::Execute() {
    std::optional<QString> chosen;
    if (Responder()) {
        chosen = Responder()(*this);
    } else {
        const QString name =
            fKind == Kind::Save
                ? QFileDialog::getSaveFileName(fOwner, QString(), InitialFolder(), fFilter)
                : QFileDialog::getOpenFileName(fOwner, QString(), InitialFolder(), fFilter);
        if (!name.isEmpty()) chosen = name;
    }
    if (!chosen || chosen->isEmpty()) return false;
    fFileName = *chosen;
    return true;
}
