// Test support for the windows: starts the program as main() does (without the
// message loop) and answers every message box and file dialog.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Kavelin_Unit.h"
#include "platform/Message_Box.h"
#include "qt/Qt_File_Dialog.h"

class TAnsweredMessageBox : public IMessageBox {
  public:
    void Show(const std::string& text) override {
        fTexts.push_back(text);
        if (fWhileShown) fWhileShown();
    }
    bool ShowAndAsk(const std::string& text) override {
        Show(text);
        return fTexts.size() != fDismissed;
    }
    TSaveChoice AskToSave(const std::string& question) override {
        Show(question);
        return fSaveChoice;
    }
    std::vector<std::string> fTexts;
    // The answer to every question about typed work.
    TSaveChoice fSaveChoice = TSaveChoice::Cancel;
    // The box, counted from 1, that the user dismisses with Escape; 0: none.
    size_t fDismissed = 0;
    // What the user does while a box shows (its own event loop runs meanwhile).
    std::function<void()> fWhileShown;
};

// Starts the five windows; message boxes are recorded in Boxes and the file
// dialogs answer with NextFileName (nothing: cancelled). The settings (window
// places, last folders) live in a folder of the fixture's own, empty at its
// start, so that no test reads what another saved or what a person's desktop
// holds. The destructor releases the windows again.
class TWindowFixture {
  public:
    // `settings`: the text of a settings file the program finds at its start, as
    // one that an earlier run saved ("": none).
    explicit TWindowFixture(const QByteArray& settings = {}) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Settings.path());
        if (!settings.isEmpty()) {
            QDir(Settings.path()).mkpath(QStringLiteral("Kavelin"));
            QFile file(SettingsFile());
            if (file.open(QIODevice::WriteOnly)) file.write(settings);
        }
        fServices.emplace(*static_cast<QApplication*>(QCoreApplication::instance()));
        SetMessageBox(&Boxes);
        SetFileDialogResponder([this](const TFileDialog& dialog) {
            DialogsShown.push_back(dialog.Name());
            return std::exchange(NextFileName, std::nullopt);
        });
        fWindows.emplace();
    }
    ~TWindowFixture() {
        fWindows.reset();
        SetFileDialogResponder({});
        SetMessageBox(nullptr);
        fServices.reset();
    }
    TWindowFixture(const TWindowFixture&) = delete;
    TWindowFixture& operator=(const TWindowFixture&) = delete;

    // Holds Kavelin/Kavelin.conf.
    QTemporaryDir Settings;
    QString SettingsFile() const {
        return Settings.filePath(QStringLiteral("Kavelin/Kavelin.conf"));
    }
    QByteArray SavedSettings() const {
        QFile file(SettingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    TAnsweredMessageBox Boxes;
    std::optional<QString> NextFileName;
    std::vector<QString> DialogsShown;

  private:
    std::optional<TProgramServices> fServices;
    std::optional<TProgramWindows> fWindows;
};
