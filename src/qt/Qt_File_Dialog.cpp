#include "qt/Qt_File_Dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include "platform/Paths.h"
#include "qt/Text_Codec.h"

namespace {

TFileDialogResponder& Responder() {
    static TFileDialogResponder responder;
    return responder;
}

QString LastFolderKey(const QString& dialogName) {
    return QStringLiteral("Dialogs/") + dialogName + QStringLiteral("/lastFolder");
}

}  // namespace

void SetFileDialogResponder(TFileDialogResponder responder) {
    Responder() = std::move(responder);
}

TFileDialog::TFileDialog(QWidget* owner, QString name, Kind kind, QString initialDir)
    : fOwner(owner),
      fName(std::move(name)),
      fKind(kind),
      fMemoryName(fName),
      fInitialDir(std::move(initialDir)) {}

QString TFileDialog::InitialFolder() const {
    return ToQt(LocalPath(FromQt(fInitialDir)));
}

QString TFileDialog::StartFolder() const {
    const QString last = QSettings().value(LastFolderKey(fMemoryName)).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    return InitialFolder();
}

bool TFileDialog::Execute() {
    std::optional<QString> chosen;
    if (Responder()) {
        chosen = Responder()(*this);
    } else {
        const QString name =
            fKind == Kind::Save
                ? QFileDialog::getSaveFileName(fOwner, fTitle, StartFolder(), fFilter)
                : QFileDialog::getOpenFileName(fOwner, fTitle, StartFolder(), fFilter);
        if (!name.isEmpty()) chosen = name;
    }
    if (!chosen || chosen->isEmpty()) return false;
    fFileName = *chosen;
    QSettings().setValue(LastFolderKey(fMemoryName), QFileInfo(fFileName).absolutePath());
    return true;
}

bool TFileDialog::ExecuteAs(const TUse& use) {
    struct TRestore {
        TFileDialog& dialog;
        TUse saved;
        ~TRestore() {
            dialog.fTitle = saved.title;
            dialog.fFilter = saved.filter;
            dialog.fInitialDir = saved.initialDir;
            dialog.fMemoryName = saved.memoryName;
        }
    } restore{*this, {fTitle, fFilter, fInitialDir, fMemoryName}};
    fTitle = use.title;
    fFilter = use.filter;
    fInitialDir = use.initialDir;
    fMemoryName = use.memoryName;
    return Execute();
}
