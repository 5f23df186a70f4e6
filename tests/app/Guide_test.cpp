// The guide (docs/guide.md) as Qt's Markdown reader renders it for the help
// window, and the README that links to it: every picture and relative link
// reaches a file, nothing depends on HTML, and the guide has its sections.
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

namespace {

QString SourceFile(const QString& name) {
    return QStringLiteral(KAVELIN_SOURCE_DIR "/") + name;
}

QString ReadText(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// The pictures and link targets of a rendered document, in order.
struct TReferences {
    QStringList fImages, fLinks, fHeadings;
};

TReferences ReferencesOf(const QTextDocument& document) {
    TReferences references;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) references.fHeadings << block.text();
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (format.isImageFormat())
                references.fImages << format.toImageFormat().name();
            else if (format.isAnchor() && !format.anchorHref().isEmpty())
                references.fLinks << format.anchorHref();
        }
    }
    references.fLinks.removeDuplicates();
    return references;
}

// Every relative picture and link of the document lies in folder.
void CheckReferencesReachFiles(const TReferences& references, const QString& folder) {
    for (const QString& image : references.fImages) {
        QVERIFY2(QUrl(image).isRelative(), qPrintable(image));
        QVERIFY2(QFileInfo(folder + QLatin1Char('/') + image).isFile(), qPrintable(image));
    }
    for (const QString& link : references.fLinks) {
        const QUrl url(link);
        if (!url.isRelative()) continue;
        QVERIFY2(QFileInfo(folder + QLatin1Char('/') + url.path()).exists(), qPrintable(link));
    }
}

}  // namespace

class GuideTest : public QObject {
    Q_OBJECT

  private slots:
    void theGuideRendersWithItsPicturesAndWithoutHtml() {
        const QString text = ReadText(SourceFile(QStringLiteral("docs/guide.md")));
        QVERIFY(!text.isEmpty());
        QTextDocument document;
        document.setMarkdown(text);
        // Read without HTML, the guide renders to the same text: it holds none.
        QTextDocument plain;
        plain.setMarkdown(text,
                          QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                          QTextDocument::MarkdownNoHTML));
        QCOMPARE(plain.toPlainText(), document.toPlainText());

        const TReferences references = ReferencesOf(document);
        CheckReferencesReachFiles(references, SourceFile(QStringLiteral("docs")));
        // Each page's picture, the profiler's and the guide window's are there, from
        // the screenshots folder beside the guide, as the package installs them.
        QCOMPARE(references.fImages.size(), 11);
        for (const QString& image : references.fImages)
            QVERIFY2(image.startsWith(QStringLiteral("screenshots/")), qPrintable(image));
        for (const QString& heading :
             {QStringLiteral("Kavelin Guide"), QStringLiteral("The frame"),
              QStringLiteral("The windows"), QStringLiteral("The pages"),
              QStringLiteral("The command-line tool"), QStringLiteral("Where files live")})
            QVERIFY2(references.fHeadings.contains(heading), qPrintable(heading));
        // The subcommands' table is a table, not lines of bars.
        QVERIFY(!document.toPlainText().contains(QStringLiteral("|---|")));
    }

    void theReadmeLinksToTheGuideAndItsPicturesExist() {
        QTextDocument document;
        document.setMarkdown(ReadText(SourceFile(QStringLiteral("README.md"))));
        const TReferences references = ReferencesOf(document);
        CheckReferencesReachFiles(references, QStringLiteral(KAVELIN_SOURCE_DIR));
        QVERIFY(references.fLinks.contains(QStringLiteral("docs/guide.md")));
        QVERIFY(!references.fImages.isEmpty());
    }
};

QTEST_MAIN(GuideTest)
#include "Guide_test.moc"
