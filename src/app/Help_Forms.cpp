#include "app/Help_Forms.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>

#include "qt/Library_Versions.h"

#ifndef KAVELIN_VERSION
#error "KAVELIN_VERSION: the program's version, from the build"
#endif
#ifndef KAVELIN_GUIDE_FROM_BIN
#error "KAVELIN_GUIDE_FROM_BIN: the installed guide relative to the installed program's folder"
#endif
#ifndef KAVELIN_GUIDE_IN_SOURCE
#error "KAVELIN_GUIDE_IN_SOURCE: the guide in the source tree"
#endif

QString GuideFile() {
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .absoluteFilePath(QStringLiteral(KAVELIN_GUIDE_FROM_BIN));
    for (const QString& candidate : {installed, QStringLiteral(KAVELIN_GUIDE_IN_SOURCE)})
        if (QFileInfo(candidate).isFile()) return QDir::cleanPath(candidate);
    return {};
}

TGuideForm::TGuideForm(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("Guide_Form"));
    setWindowTitle(QStringLiteral("Kavelin Guide"));
    resize(760, 680);
    Guide_Browser = new QTextBrowser(this);
    Guide_Browser->setObjectName(QStringLiteral("Guide_Browser"));
    Guide_Browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Guide_Browser);
    const QString file = GuideFile();
    if (file.isEmpty()) {
        Guide_Browser->setPlainText(
            QStringLiteral("The guide (guide.md) is in neither %1 nor %2.")
                .arg(QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                     QStringLiteral(KAVELIN_GUIDE_FROM_BIN)),
                     QStringLiteral(KAVELIN_GUIDE_IN_SOURCE)));
        return;
    }
    Guide_Browser->setSource(QUrl::fromLocalFile(file), QTextDocument::MarkdownResource);
}

QString AboutText() {
    QString text = QStringLiteral(
                       "Kavelin %1\n\n"
                       "A workbench for trying out artificial-intelligence and data-processing "
                       "algorithms on small inputs.\n\n"
                       "Copyright 2026 The Kavelin developers.\n"
                       "Kavelin is free software: you can redistribute it and/or modify it under "
                       "the terms of the GNU General Public License as published by the Free "
                       "Software Foundation, either version 3 of the License, or (at your option) "
                       "any later version (GPL-3.0-or-later). It comes with ABSOLUTELY NO "
                       "WARRANTY.\n\nLibraries in use:")
                       .arg(QStringLiteral(KAVELIN_VERSION));
    for (const auto& [name, version] : LibraryVersions())
        text += QStringLiteral("\n  %1 %2").arg(name, version);
    return text;
}

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("About_Box"));
    setWindowTitle(QStringLiteral("About Kavelin"));
    About_Label = new QLabel(AboutText(), this);
    About_Label->setObjectName(QStringLiteral("About_Label"));
    About_Label->setTextFormat(Qt::PlainText);
    About_Label->setWordWrap(true);
    About_Label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(About_Label);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}
