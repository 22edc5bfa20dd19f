// "Measure a lens…" as a user works it: rows typed into the table, the fit
// read off, a lens kept and used again.
#include <QSignalSpy>
#include <QLineEdit>
#include <QTest>

#include "support/files.h"
#include "ui/measure_lens_dialog.h"

namespace korvel {
namespace {

void type(MeasureLensDialog& d, int row, int column, const QString& text) {
  d.Rows->setCurrentCell(row, column);
  d.Rows->edit(d.Rows->currentIndex());
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the closed editor goes
}

TEST(MeasureLensDialog, RowsTypedGiveTheFocalLengthKeptAndUsedAgain) {
  testing::TempFolder folder;
  MeasureLensDialog d(folder.root(), {.travelInches = false, .focalInches = true});
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  // Example C; its first magnification as image and object sizes, the second as a ratio.
  type(d, 0, MeasureLensDialog::Image, "10.2");
  type(d, 0, MeasureLensDialog::Object, "100");
  type(d, 0, MeasureLensDialog::Travel, "15.6");
  type(d, 1, MeasureLensDialog::Magnification, "1.49:10");
  type(d, 1, MeasureLensDialog::Travel, "22.9");
  for (const auto& [row, m, t] : {std::tuple{2, "0.201", "30.3"}, {3, "0.252", "38.0"}, {4, "0.298", "44.6"}}) {
    type(d, row, MeasureLensDialog::Magnification, m);
    type(d, row, MeasureLensDialog::Travel, t);
  }
  EXPECT_EQ(d.Rows->rowCount(), 6);  // an empty one to type into
  EXPECT_EQ(d.Result->text().toStdString(), "f = 147.669 ± 1.105 mm,  δ = -0.687 ± 0.235 mm\n"
                              "±σ moves the working edge by up to 0.54 mm");
  EXPECT_EQ(d.Rows->item(1, MeasureLensDialog::Residual)->text().toStdString(), "0.210");
  EXPECT_TRUE(d.Warnings->text().startsWith("The infinity stop holds the lens 0.69 mm behind"));

  // A bad row refuses the save and names the row; emptying it brings the fit back.
  d.LensName->setText("old 150 mm");
  type(d, 5, MeasureLensDialog::Magnification, "0.35");
  type(d, 5, MeasureLensDialog::Travel, "5l.2");
  QTest::mouseClick(d.SaveLens, Qt::LeftButton);
  EXPECT_EQ(d.Message->text().toStdString(), "Not saved: row 6: the travel \"5l.2\" is not a number");
  EXPECT_FALSE(d.UseFocal->isEnabled());
  EXPECT_FALSE(QFile::exists(folder.path(kLensStoreFileName)));
  for (int column : {MeasureLensDialog::Magnification, MeasureLensDialog::Travel})
    d.Rows->item(5, column)->setText("");
  QTest::mouseClick(d.SaveLens, Qt::LeftButton);
  EXPECT_EQ(d.KeptLenses->count(), 1);

  QSignalSpy chosen(&d, &MeasureLensDialog::focalLengthChosen);
  QTest::mouseClick(d.UseFocal, Qt::LeftButton);
  EXPECT_EQ(chosen.value(0).value(0).toString(), "5.8137");  // inches, four decimals

  // Another session in millimetres opens the kept lens and uses it.
  MeasureLensDialog again(folder.root(), {.travelInches = true, .focalInches = false});
  ASSERT_EQ(again.KeptLenses->count(), 1);
  again.KeptLenses->setCurrentRow(0);
  QTest::mouseClick(again.EditKept, Qt::LeftButton);
  EXPECT_EQ(again.LensName->text(), "old 150 mm");
  EXPECT_TRUE(again.Result->text().startsWith("f = 147.669 ± 1.105 mm"));
  QSignalSpy used(&again, &MeasureLensDialog::focalLengthChosen);
  QTest::mouseClick(again.UseKept, Qt::LeftButton);
  EXPECT_EQ(used.value(0).value(0).toString(), "147.67");
}

}  // namespace
}  // namespace korvel
