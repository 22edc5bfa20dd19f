#include <QFileDialog>
#include <QMenu>
#include <QTimer>

#include "support/designer_fixture.h"

namespace korvel {
namespace {

class CutExportMenu : public testing::DesignerFixture {};

// Right-click on the preview, "Export for cutting…", and the dialog starts in
// the program folder with the bitmap's name; the file holds the cam as drawn,
// from the factor the first cam after start-up uses.
TEST_F(CutExportMenu, ExportsThePreviewCamNamedLikeItsBitmap) {
  // The file dialog keeps its history in Qt's own settings: in the test's folder, not the user's.
  qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
  CamDesigner& d = start();
  d.FocalLength->setText("150");
  QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);

  QString offered;
  QTimer::singleShot(0, [&] {
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_TRUE(qobject_cast<QMenu*>(menu));
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_TRUE(dialog);
      offered = dialog->selectedFiles().value(0);
      dialog->selectFile(path("cam.csv"));
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
    });
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
  });
  emit d.Picture1->customContextMenuRequested(QPoint(10, 10));

  EXPECT_EQ(offered, path("KorvelCamDesigner-150.dxf"));
  QFile table(path("cam.csv"));
  ASSERT_TRUE(table.open(QIODevice::ReadOnly));
  const QList<QByteArray> rows = table.readAll().split('\n');
  ASSERT_GT(rows.size(), 1);
  EXPECT_TRUE(rows[1].startsWith("150,0,3203248,0,1.07,lead-in,")) << rows[1].toStdString();
}

}  // namespace
}  // namespace korvel
