// The folders of src/ depend on one another in one direction only: the core
// library (model, file format, composition, desktop) never reaches up into the
// widgets, and the canvas composition knows nothing of wallpapers.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(IncludeRules, FoldersDependOneWay)
{
    // Widget classes are named C<Capital>... in view/ and dialogs/; the other
    // files there (dialog models, headless item commands) are core code.
    const QString widgets = QStringLiteral("app/|view/C[A-Z]|dialogs/C[A-Z]");
    const QString core = QStringLiteral("^(") + widgets + QStringLiteral("|view/)");
    const QList<std::pair<QRegularExpression, QRegularExpression>> rules = {
        {QRegularExpression(QStringLiteral("^(imaging|platform|items|document|wallpaper|dialogs/(?!C[A-Z]))")),
         QRegularExpression(core)},
        {QRegularExpression(QStringLiteral("^canvas/")), QRegularExpression(core + QStringLiteral("|^wallpaper/"))},
        {QRegularExpression(QStringLiteral("^view/(?!C[A-Z])")), QRegularExpression(QStringLiteral("^(") + widgets + ")")},
    };
    const QString src = QStringLiteral(MC_SOURCE_DIR "/src/");
    const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""));
    int checked = 0;
    QDirIterator it(src, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = path.mid(src.size());
        for (const auto& [files, forbidden] : rules) {
            if (!files.match(rel).hasMatch())
                continue;
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << rel.toStdString();
            int line = 0;
            for (const QByteArray& text : file.readAll().split('\n')) {
                ++line;
                const QString target = include.match(QString::fromUtf8(text)).captured(1);
                EXPECT_FALSE(!target.isEmpty() && forbidden.match(target).hasMatch())
                    << rel.toStdString() << ":" << line << " includes " << target.toStdString();
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 50); // the walk found the sources
}
