// The Gallery and Variations windows as a user meets them: a gallery
// picture opened with a click, a variation taken with a click.
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "engine/program_state.h"
#include "services/gallery.h"
#include "support/ui_test_support.h"
#include "ui/explore_menu.h"
#include "ui/gallery_window.h"
#include "ui/main_window.h"
#include "ui/values_window.h"
#include "ui/variations_window.h"

using namespace quorl;

namespace {
QDir BuildFolder() {
  return QFileInfo(QStringLiteral(QUORL_BINARY)).absoluteDir();
}
}  // namespace

class ExploreWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void theFirstStartGalleryCanBeTurnedOff() {
    qputenv("QUORL_NO_GALLERY", "1");
    QVERIFY(!GalleryAtFirstStart(false));
    qputenv("QUORL_NO_GALLERY", "0");
    QVERIFY(GalleryAtFirstStart(false));
    QVERIFY(!GalleryAtFirstStart(true));  // only the very first start
    qputenv("QUORL_NO_GALLERY", "1");
  }

  // Also leaves a screenshot of the gallery in the build folder for a look.
  void theFirstStartOpensTheGalleryBesideTheWindow() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    test::RecordingDialogs dialogs;
    qputenv("QUORL_GALLERY", QUORL_SOURCE_DIR "/gallery");
    MainWindow window;
    window.show();
    ShowGalleryOnFirstStart(window, true);
    QVERIFY(!window.findChild<GalleryWindow*>());
    qputenv("QUORL_NO_GALLERY", "0");
    ShowGalleryOnFirstStart(window, false);
    qputenv("QUORL_NO_GALLERY", "1");
    auto* gallery = window.findChild<GalleryWindow*>();
    QVERIFY(gallery);
    QVERIFY(gallery->isVisible());
    QVERIFY(gallery->EntryCount() >= 24);
    QVERIFY(gallery->x() > window.x());
    gallery->grab().save(BuildFolder().filePath("explore_gallery_window.png"));
    qunsetenv("QUORL_GALLERY");
  }

  void aClickOpensTheGalleryPicturesRecipeReadyToDraw() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    test::RecordingDialogs dialogs;
    MainWindow window;
    GalleryWindow gallery(window, &window);
    const std::string folder = std::string(QUORL_SOURCE_DIR) + "/gallery";
    gallery.Fill(folder);
    const std::vector<GalleryEntry> entries = ListGallery(folder);
    QCOMPARE(gallery.EntryCount(), static_cast<int>(entries.size()));
    QVERIFY(gallery.EntryCount() >= 24);
    QVERIFY(!gallery.List()->item(0)->icon().isNull());

    // A picture with a source picture: its recipe, its picture and its size.
    int withSource = -1;
    for (int i = 0; i < gallery.EntryCount(); ++i) {
      GalleryPictures pictures;
      std::string error;
      if (GalleryPicturesOf(folder, entries[static_cast<size_t>(i)], pictures, error) &&
          !pictures.source.empty())
        withSource = i;
    }
    QVERIFY(withSource >= 0);
    window.Layout().SaveDir = "/my/pictures/";
    window.Layout().LoadDir = "/my/settings/";
    QListWidgetItem* item = gallery.List()->item(withSource);
    QTest::mouseClick(gallery.List()->viewport(), Qt::LeftButton, {},
                      gallery.List()->visualItemRect(item).center());
    QVERIFY(dialogs.messages.isEmpty());
    const ProgramState& state = window.State();
    QVERIFY(state.source.Loaded());
    QVERIFY(state.params.UseSourceImage);
    QCOMPARE(state.canvas.CanvasWidth(), state.params.ImageWidth);
    QImage shipped(QString::fromStdString(entries[static_cast<size_t>(withSource)].path));
    QCOMPARE(state.params.ImageWidth, shipped.width());
    QVERIFY(window.StatusText().contains(QStringLiteral("press Draw")));
    // The user's folders are not those the recipe was made in.
    QCOMPARE(state.layout.SaveDir, std::string("/my/pictures/"));
    QCOMPARE(state.layout.LoadDir, std::string("/my/settings/"));
  }

  void aClickOnAVariationTakesItsValues() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    test::RecordingDialogs dialogs;
    MainWindow window;
    window.Parameters().ImageWidth = 120;
    window.Parameters().ImageHeight = 90;
    window.Parameters().Steps = 60;
    VariationsWindow variations(window, &window);
    QSignalSpy drawn(&variations, &VariationsWindow::PicturesDrawn);
    variations.MakeNeighbours();
    QCOMPARE(static_cast<int>(variations.Neighbours().size()), VariationsWindow::kNeighbours);
    QVERIFY(drawn.wait(20000));
    for (int i = 0; i <= VariationsWindow::kNeighbours; ++i) QVERIFY(!variations.Tile(i)->icon().isNull());
    // Wider than high, as the picture is.
    const QSize tile = variations.Tile(0)->icon().availableSizes().value(0);
    QVERIFY(tile.width() > tile.height());

    variations.grab().save(BuildFolder().filePath("explore_variations_window.png"));
    const ParameterSet chosen = variations.Neighbours()[3].params;
    const std::uint64_t seed = variations.Seed();
    QTest::mouseClick(variations.Tile(3), Qt::LeftButton);
    QCOMPARE(window.Parameters().StartRadius, chosen.StartRadius);
    QCOMPARE(window.Parameters().EndIota, chosen.EndIota);
    QCOMPARE(window.Parameters().StartMaxRed, chosen.StartMaxRed);
    QCOMPARE(window.Parameters().StartBumps, chosen.StartBumps);
    // The Values window shows what was taken.
    auto* values = window.findChild<ValuesWindow*>();
    QVERIFY(values);
    auto* bumps = values->findChild<QLineEdit*>(QStringLiteral("editStartBumps"));
    QVERIFY(bumps);
    QCOMPARE(bumps->text(), QString::number(chosen.StartBumps));
    // New neighbours around the new values.
    QCOMPARE(variations.Seed(), seed + 1);
    QVERIFY(drawn.wait(20000));
  }
};

QTEST_MAIN(ExploreWindowsTest)
#include "explore_windows_test.moc"
