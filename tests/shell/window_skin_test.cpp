#include "shell/failure.h"
#include "shell/program_context.h"
#include "shell/startup_services.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include <unistd.h>

namespace {

using Widgets = std::vector<const QWidget*>;
const QColor kDesigned(Qt::white);
const QColor kSchemeFace(0x12, 0x34, 0x56);
const QByteArray kSheet = "QPushButton { color: #203040; }";

// A window built like the main window: a white background, frames, labels,
// option buttons, check boxes, text fields, a list, push buttons and picture boxes.
struct TestWindow {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLabel* label = new QLabel(QStringLiteral("Label"), window.get());
    QGroupBox* frame = new QGroupBox(QStringLiteral("Frame"), window.get());
    QRadioButton* option = new QRadioButton(QStringLiteral("Option"), frame);
    QCheckBox* check = new QCheckBox(QStringLiteral("Check"), frame);
    QLineEdit* text = new QLineEdit(window.get());
    QTreeWidget* list = new QTreeWidget(window.get());
    QPushButton* button = new QPushButton(QStringLiteral("Push"), window.get());
    QLabel* pictureLabel = new QLabel(window.get());
    QWidget* pictureBox = new QWidget(window.get());

    TestWindow() {
        QPalette palette = window->palette();
        palette.setColor(QPalette::Window, kDesigned);
        window->setPalette(palette);
        pictureLabel->setObjectName(QStringLiteral("Picture1"));
        pictureBox->setObjectName(QStringLiteral("Picture2"));
    }

    static bool hasFace(const QWidget* w) {
        return w->testAttribute(Qt::WA_SetPalette) && w->autoFillBackground() &&
               w->palette().color(QPalette::Window) == kSchemeFace;
    }
    static bool keepsOwn(const QWidget* w) { return !w->testAttribute(Qt::WA_SetPalette); }
};

// A program folder of the test's own, and a colour scheme whose button face is
// easy to recognise.
class SkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldPalette = QApplication::palette();
        QPalette scheme = m_oldPalette;
        scheme.setColor(QPalette::Button, kSchemeFace);
        QApplication::setPalette(scheme);
    }
    void TearDown() override { QApplication::setPalette(m_oldPalette); }

    QString skinPath() const { return programFolder.filePath(QStringLiteral("x/o.cjs")); }
    void writeSkin(const QByteArray& content) {
        QDir(programFolder.path()).mkpath(QStringLiteral("x"));
        QFile file(skinPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    // A skin file that is there but cannot be read, also by the superuser.
    void writeUnreadableSkin() {
        QDir(programFolder.path()).mkpath(QStringLiteral("x"));
        if (::geteuid() == 0) {
            ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), skinPath()));
        } else {
            writeSkin(kSheet);
            ASSERT_TRUE(QFile::setPermissions(skinPath(), QFile::Permissions()));
        }
    }

    IsolatedEnvironment env;
    QTemporaryDir programFolder;
    TestWindow w;

private:
    QPalette m_oldPalette;
};

}  // namespace

TEST_F(SkinTest, FaceColourFollowsTheUsersScheme) {
    EXPECT_EQ(shell::buttonFaceColor(), kSchemeFace);
}

TEST_F(SkinTest, WithoutSkinFileNothingChanges) {
    shell::applySkin(*w.window, skinPath());
    EXPECT_EQ(w.window->palette().color(QPalette::Window), kDesigned);
    for (QWidget* c : w.window->findChildren<QWidget*>()) EXPECT_TRUE(TestWindow::keepsOwn(c)) << c->metaObject()->className();
    EXPECT_TRUE(w.window->styleSheet().isEmpty());
}

TEST_F(SkinTest, AFolderNamedLikeTheSkinIsNoSkin) {
    ASSERT_TRUE(QDir(programFolder.path()).mkpath(QStringLiteral("x/o.cjs")));
    shell::applySkin(*w.window, skinPath());
    EXPECT_EQ(w.window->palette().color(QPalette::Window), kDesigned);
    EXPECT_TRUE(w.window->styleSheet().isEmpty());
}

TEST_F(SkinTest, WithSkinFileFramesLabelsAndPicturesTakeTheFaceColour) {
    writeSkin(kSheet);
    shell::applySkin(*w.window, skinPath());

    EXPECT_TRUE(TestWindow::hasFace(w.window.get()));
    for (const QWidget* c : Widgets{w.label, w.frame, w.option, w.check, w.pictureLabel, w.pictureBox})
        EXPECT_TRUE(TestWindow::hasFace(c)) << c->metaObject()->className();
    for (const QWidget* c : Widgets{w.text, w.list, w.button})
        EXPECT_TRUE(TestWindow::keepsOwn(c)) << c->metaObject()->className();
    EXPECT_EQ(w.window->styleSheet(), QString::fromUtf8(kSheet));
}

// Installed, the program stands in bin/ and its skin in share/quenvale/x/o.cjs.
TEST_F(SkinTest, AnInstalledProgramFindsItsSkin) {
    QTemporaryDir root;
    const QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(dir.mkpath(QStringLiteral("share/quenvale/x")));
    QFile skin(dir.filePath(QStringLiteral("share/quenvale/x/o.cjs")));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.write(kSheet);
    skin.close();
    ScriptedDialogs dialogs;
    const shell::ProgramContext installed(dialogs, dir.filePath(QStringLiteral("bin")));

    shell::applySkin(*w.window, installed.programFile(QString::fromLatin1(shell::kSkinFile)));
    EXPECT_TRUE(TestWindow::hasFace(w.label));
    EXPECT_EQ(w.window->styleSheet(), QString::fromUtf8(kSheet));
}

TEST_F(SkinTest, ProgramsOwnSkinLeavesLabelsWithTheFaceColour) {
    const QString source = qEnvironmentVariable("QUENVALE_SOURCE_DIR");
    if (source.isEmpty()) GTEST_SKIP() << "QUENVALE_SOURCE_DIR not set";
    QFile own(source + QStringLiteral("/resources/x/o.cjs"));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    writeSkin(own.readAll());

    shell::applySkin(*w.window, skinPath());
    w.window->ensurePolished();
    w.label->ensurePolished();
    EXPECT_FALSE(w.window->styleSheet().isEmpty());
    EXPECT_EQ(w.label->palette().color(QPalette::Window), kSchemeFace);
}

TEST_F(SkinTest, UnreadableSkinFailsAfterTheColoursChanged) {
    writeUnreadableSkin();
    try {
        shell::applySkin(*w.window, skinPath());
        FAIL() << "an unreadable skin must fail";
    } catch (const shell::Failure& failure) {
        EXPECT_TRUE(failure.description().startsWith(QStringLiteral("Skin file could not be read: ")));
        EXPECT_TRUE(failure.description().contains(skinPath()));
    }
    EXPECT_TRUE(TestWindow::hasFace(w.window.get()));
    EXPECT_TRUE(TestWindow::hasFace(w.label));
    EXPECT_TRUE(w.window->styleSheet().isEmpty());
}

TEST_F(SkinTest, OversizedSkinIsRefused) {
    writeSkin(kSheet);
    QFile file(skinPath());
    ASSERT_TRUE(file.resize(4 * 1024 * 1024));
    EXPECT_THROW(shell::applySkin(*w.window, skinPath()), shell::Failure);
    EXPECT_TRUE(w.window->styleSheet().isEmpty());
}

TEST_F(SkinTest, FaceColourOfAnotherWindowLeavesPictureBoxesAndSheetAlone) {
    writeSkin(kSheet);  // not looked at
    shell::applyFaceColor(*w.window);

    EXPECT_TRUE(TestWindow::hasFace(w.window.get()));
    EXPECT_TRUE(TestWindow::hasFace(w.label));
    EXPECT_TRUE(TestWindow::hasFace(w.frame));
    EXPECT_TRUE(TestWindow::hasFace(w.option));
    EXPECT_TRUE(TestWindow::hasFace(w.check));
    EXPECT_TRUE(TestWindow::keepsOwn(w.pictureLabel));
    EXPECT_TRUE(TestWindow::keepsOwn(w.pictureBox));
    EXPECT_TRUE(TestWindow::keepsOwn(w.text));
    EXPECT_TRUE(TestWindow::keepsOwn(w.button));
    EXPECT_TRUE(w.window->styleSheet().isEmpty());
}
