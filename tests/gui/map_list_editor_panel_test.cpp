#include "app/map_list_editor_panel.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <memory>

#include "maps/map_catalogue.h"
#include "maps/map_list_editor.h"
#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {
namespace fs = std::filesystem;

const fs::path kGameFixture = fs::path(ZEMBROCK_FIXTURES_DIR) / "game";

// The panel on the offscreen platform over an editor on a copy of the test game folder, set up
// as start-up sets it up.
class MapListEditorPanelTest : public testing::Test {
protected:
    MapListEditorPanelTest() {
        fs::copy(kGameFixture, m_folder.Path(), fs::copy_options::recursive);
        m_editor.SetCatalogue(BuildMapCatalogue(m_folder.Path()));
        m_editor.SetGameTypes(BuildGameTypeList(m_folder.Path()));
        m_editor.RefreshMapListFiles();
        m_panel = std::make_unique<MapListEditorPanel>(m_editor, m_dialogs);
        m_panel->show();
    }

    template <typename Widget>
    Widget* Find(const char* objectName) {
        auto* widget = m_panel->findChild<Widget*>(QLatin1String(objectName));
        EXPECT_NE(widget, nullptr) << objectName;
        return widget;
    }

    QStringList ListedLines() {
        QStringList lines;
        auto* list = Find<QListWidget>("List1");
        for (int row = 0; row < list->count(); ++row) {
            lines.append(list->item(row)->text());
        }
        return lines;
    }

    void ClickLine(int row) {
        auto* list = Find<QListWidget>("List1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // A pick from a combo box's list, as the administrator makes it.
    static void Pick(QComboBox* combo, const QString& text) {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    QImage Preview() { return Find<QLabel>("Image1")->pixmap().toImage(); }

    test::TempFolder m_folder;
    MapListEditor m_editor{m_folder.Path()};
    test::FakeDialogs m_dialogs;
    std::unique_ptr<MapListEditorPanel> m_panel;
};

TEST_F(MapListEditorPanelTest, PickingAListShowsItsLines) {
    auto* combo2 = Find<QComboBox>("Combo2");
    EXPECT_EQ(combo2->currentText(), QStringLiteral("default_rotation.dspl"));
    EXPECT_EQ(ListedLines().size(), 4);
    QSignalSpy selected(m_panel.get(), &MapListEditorPanel::mapListSelected);

    combo2->setFocus();
    QTest::keyClick(combo2, Qt::Key_Down);

    EXPECT_EQ(combo2->currentText(), QStringLiteral("sd_only.dspl"));
    EXPECT_EQ(ListedLines(), QStringList({QStringLiteral("mp_exchange,SD_default,100"),
                                          QStringLiteral("mp_hardhat,SD_default,100"),
                                          QStringLiteral("mp_paris,SD_default,200")}));
    EXPECT_EQ(selected.count(), 1);
    EXPECT_EQ(m_editor.RotationName(), "sd_only");
}

TEST_F(MapListEditorPanelTest, SelectingALineSetsTheChoosersAndThePicture) {
    ClickLine(3);

    EXPECT_EQ(Find<QListWidget>("List1")->currentRow(), 3);
    EXPECT_EQ(Find<QComboBox>("Combo3")->currentText(), QStringLiteral("*"));
    EXPECT_EQ(Find<QComboBox>("Combo4")->currentText(), QStringLiteral("Capture The Flag"));
    EXPECT_EQ(Find<QComboBox>("Combo5")->currentText(), QStringLiteral("500"));
    const QImage random = Preview();
    ASSERT_FALSE(random.isNull());
    EXPECT_EQ(random.size(), Find<QLabel>("Image1")->size());

    ClickLine(0);

    EXPECT_EQ(Find<QComboBox>("Combo3")->currentText(), QStringLiteral("Dome"));
    EXPECT_EQ(Find<QComboBox>("Combo4")->currentText(), QStringLiteral("Team Deathmatch"));
    EXPECT_EQ(Find<QComboBox>("Combo5")->currentText(), QStringLiteral("1"));
    ASSERT_FALSE(Preview().isNull());
    EXPECT_NE(Preview(), random);
}

TEST_F(MapListEditorPanelTest, ClickingTheSelectedLineAgainRestoresItsChoosers) {
    ClickLine(0);
    Pick(Find<QComboBox>("Combo3"), QStringLiteral("Arkaden"));

    ClickLine(0);

    EXPECT_EQ(Find<QComboBox>("Combo3")->currentText(), QStringLiteral("Dome"));
}

TEST_F(MapListEditorPanelTest, AMapWithoutPictureEmptiesThePreview) {
    fs::remove(m_folder / "mapimages/Arkaden.gif");
    ClickLine(0);
    ASSERT_FALSE(Preview().isNull());

    Pick(Find<QComboBox>("Combo3"), QStringLiteral("Arkaden"));

    EXPECT_TRUE(Preview().isNull());
}

TEST_F(MapListEditorPanelTest, AddNewAppendsTheLineBuiltFromTheChoosers) {
    Pick(Find<QComboBox>("Combo3"), QStringLiteral("Arkaden"));
    Pick(Find<QComboBox>("Combo4"), QStringLiteral("Team Deathmatch"));
    QLineEdit* priority = Find<QComboBox>("Combo5")->lineEdit();
    priority->selectAll();
    QTest::keyClicks(priority, QStringLiteral("50"));

    QTest::mouseClick(Find<QAbstractButton>("Command3"), Qt::LeftButton);

    EXPECT_EQ(ListedLines().size(), 5);
    EXPECT_EQ(ListedLines().last(), QStringLiteral("mp_plaza2,TDM_default,50"));
    EXPECT_EQ(Find<QComboBox>("Combo5")->currentText(), QStringLiteral("50"));
}

TEST_F(MapListEditorPanelTest, MovedLineStaysSelectedAndSaveWritesTheList) {
    ClickLine(2);
    QTest::mouseClick(Find<QAbstractButton>("cmdUp"), Qt::LeftButton);
    EXPECT_EQ(Find<QListWidget>("List1")->currentRow(), 1);
    EXPECT_EQ(Find<QComboBox>("Combo3")->currentText(), QStringLiteral("Bakaara"));
    m_dialogs.answerYes = true;

    QTest::mouseClick(Find<QAbstractButton>("cmdSave"), Qt::LeftButton);

    ASSERT_EQ(m_dialogs.questions.size(), 1U);
    EXPECT_EQ(m_dialogs.questions[0].title, "Save maplist file.");
    EXPECT_EQ(test::ReadFile(m_folder / "players2/default_rotation.dspl"),
              "mp_dome,TDM_default,1\r\nmp_mogadishu,SD_default,1000\r\nmp_plaza2,DOM_default,100\r\n"
              "*,CTF_default,500\r\n");
}

TEST_F(MapListEditorPanelTest, DeletingAFileShowsTheRemainingLists) {
    m_dialogs.answerYes = true;

    QTest::mouseClick(Find<QAbstractButton>("cmdDelete"), Qt::LeftButton);

    auto* combo2 = Find<QComboBox>("Combo2");
    EXPECT_EQ(combo2->count(), 2);
    EXPECT_EQ(combo2->currentText(), QStringLiteral("sd_only.dspl"));
    EXPECT_EQ(ListedLines().size(), 3);
}

TEST(MapPictures, EveryPictureOfTheGameFixtureLoads) {
    const QDir folder(QString::fromStdString((kGameFixture / "mapimages").string()));
    const QStringList pictures = folder.entryList({QStringLiteral("*.gif")});
    EXPECT_EQ(pictures.size(), 11);
    for (const QString& picture : pictures) {
        const QImage image(folder.filePath(picture));
        EXPECT_EQ(image.size(), QSize(160, 100)) << picture.toStdString();
    }
}

}  // namespace
}  // namespace zembrock
