// The kept lenses on disk: read back as written, and a damaged file kept.
#include "settings/lens_store.h"
#include "support/files.h"

namespace korvel {
namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(22, 15, 3), Qt::UTC);

TEST(LensStore, KeepsEveryFigureExactly) {
  testing::TempFolder folder;
  EXPECT_TRUE(readLensStore(folder.root()).lenses.empty());  // no file yet
  const std::vector<KeptLens> lenses = {
      {"old 150 mm", 150.0, 147.66903125937, 1.1049, -0.6870000000000001, QDate(2026, 12, 7),
       {{0.102, 15.6}, {0.149, 22.9}}},
      {"unknown, one row", std::nullopt, 150.0, std::nullopt, 0.0, QDate(2026, 1, 2), {{0.125, 18.75}}},
  };
  ASSERT_TRUE(writeLensStore(folder.root(), lenses).written);
  const LensStoreRead read = readLensStore(folder.root());
  EXPECT_EQ(read.problem, "");
  ASSERT_EQ(read.lenses.size(), 2u);
  for (std::size_t i = 0; i < lenses.size(); ++i) {
    const KeptLens &a = lenses[i], &b = read.lenses[i];
    EXPECT_EQ(std::tie(a.name, a.engravedFocalMm, a.focalMm, a.sigmaFocalMm, a.infinityOffsetMm, a.measured),
              std::tie(b.name, b.engravedFocalMm, b.focalMm, b.sigmaFocalMm, b.infinityOffsetMm, b.measured));
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (std::size_t r = 0; r < a.rows.size(); ++r)
      EXPECT_EQ(std::pair(a.rows[r].magnification, a.rows[r].travelMm), std::pair(b.rows[r].magnification, b.rows[r].travelMm));
  }
  EXPECT_EQ(folder.entries(), QStringList{kLensStoreFileName});
}

TEST(LensStore, ADamagedFileIsMovedAsideNeverOverwritten) {
  struct Row {
    const char* name;
    QByteArray damaged;
  };
  const Row rows[] = {
      {"cut short", "{\"lenses\": [{\"name\": \"a\", \"focal"},
      {"a lens without its focal length", "{\"lenses\": [{\"name\": \"a\", \"infinity_offset_mm\": 0, \"rows\": []}]}"},
      {"a row that is not a number", "{\"lenses\": [{\"name\": \"a\", \"focal_length_mm\": 150, \"infinity_offset_mm\": 0,"
                                     " \"rows\": [{\"magnification\": \"0.1\", \"travel_mm\": 15}]}]}"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    testing::TempFolder folder;
    folder.put(kLensStoreFileName, row.damaged);
    folder.put(QString(kLensStoreFileName) + ".damaged-20261207T221503Z", "an older one");
    const LensStoreRead read = readLensStore(folder.root(), kNow);
    EXPECT_TRUE(read.lenses.empty());
    EXPECT_TRUE(read.problem.contains("moved aside as " + folder.path("KorvelCamDesigner-lenses.json.damaged-20261207T221503Z-2")))
        << read.problem.toStdString();
    EXPECT_EQ(folder.get("KorvelCamDesigner-lenses.json.damaged-20261207T221503Z-2"), row.damaged);
    EXPECT_EQ(folder.get("KorvelCamDesigner-lenses.json.damaged-20261207T221503Z"), "an older one");
    EXPECT_FALSE(QFile::exists(folder.path(kLensStoreFileName)));
  }
  // Saving over a damaged file moves it aside first, and says so.
  testing::TempFolder folder;
  folder.put(kLensStoreFileName, "not json");
  const LensStoreWrite written = writeLensStore(folder.root(), {{"new", {}, 150, {}, 0, {}, {}}}, kNow);
  EXPECT_TRUE(written.written);
  EXPECT_TRUE(written.message.contains("moved aside"));
  EXPECT_EQ(folder.get("KorvelCamDesigner-lenses.json.damaged-20261207T221503Z"), "not json");
  EXPECT_EQ(readLensStore(folder.root()).lenses.at(0).name, "new");
}

}  // namespace
}  // namespace korvel
