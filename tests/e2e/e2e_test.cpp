#include <gtest/gtest.h>

#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <csignal>

#include "support/files.h"

namespace {

using korvel::testing::TempFolder;

// The menu bar's height in the test display's fonts: the controls stand under it.
constexpr int kMenuBarHeight = 19;
// Centres of the designer's controls in the area under the menu bar, in pixels.
constexpr QPoint underMenu(int x, int y) { return {x, y + kMenuBarHeight}; }
constexpr QPoint kFocalLength = underMenu(212, 65);
constexpr QPoint kChkInch = underMenu(270, 88);
constexpr QPoint kSaveToDisk = underMenu(336, 204);
constexpr QPoint kPlotCams = underMenu(84, 260);
constexpr QPoint kHiRes = underMenu(440, 296);
constexpr QPoint kCalcCor = underMenu(100, 400);
constexpr QPoint kXCorUser = underMenu(284, 393);
constexpr QPoint kYCorUser = underMenu(284, 417);
constexpr QPoint kExit = underMenu(492, 412);
// The lowest controls: the measurement unit boxes reach down to 433 pixels.
constexpr QPoint kChkCormmLowerHalf = underMenu(48, 429);

// A process still running is asked to end first, and killed only when it does not.
void stop(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(5000)) process.kill();
  process.waitForFinished(5000);
}

// Each case runs on a display of its own, set up by the script that starts the test program.
class EndToEnd : public ::testing::Test {
 protected:
  TempFolder folder;  // becomes the program folder
  QProcess program;
  QString window;

  void SetUp() override {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "run through scripts/with-display.sh";
    qputenv("QT_QPA_PLATFORM", "xcb");  // the program and the tools it starts use the real display
    ASSERT_TRUE(QFile::copy(KORVEL_PROGRAM, folder.path("korvel-cam-designer")));
  }
  void TearDown() override { stop(program); }

  // Runs xdotool and gives back what it printed, after giving the program time to act on it; one that hangs
  // is stopped.
  static QString xdotool(const QStringList& args) {
    QProcess tool;
    tool.start("xdotool", args);
    if (!tool.waitForFinished(15000)) stop(tool);
    QThread::msleep(300);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
  }
  // Waits for a window whose title matches; empty when none appears.
  QString findWindow(const QString& title) { return xdotool({"search", "--sync", "--limit", "1", "--name", title}); }

  void startProgram() {
    program.setWorkingDirectory(folder.root());
    program.start(folder.path("korvel-cam-designer"), {});
    window = findWindow("^Korvel Cam Designer$");
    ASSERT_FALSE(window.isEmpty());
    QThread::msleep(500);  // the window maps and takes the focus
    xdotool({"mousemove", "--window", window, "300", "30"});
  }
  void click(QPoint at) {
    xdotool({"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y()), "click", "1"});
  }
  // Types over the selected text of the focused box.
  void type(const QString& text) { xdotool({"type", "--delay", "30", text}); }
  void exitProgram() {
    click(kExit);
    ASSERT_TRUE(program.waitForFinished(10000)) << "the program did not end on Exit";
  }

  QByteArray settingsText() const { return folder.get("KorvelCamDesigner.ini"); }
  // Whether the program writes that bitmap at that size within ten seconds.
  bool writesBitmap(const QString& name, QSize size) const {
    for (int tries = 0; tries < 200 && QImageReader(folder.path(name)).size() != size; ++tries) QThread::msleep(50);
    return QImageReader(folder.path(name)).size() == size;
  }
};

// A settings file as Windows writes it, with comments and keys of its own, keeps
// them, its line ends and every value. What the saved bitmaps show is compared
// with golden images by the command tests.
TEST_F(EndToEnd, ASessionFromAWindowsSettingsFileSavesItsBitmapsAndEveryKey) {
  folder.put("KorvelCamDesigner.ini",
             "; written on Windows\r\n[Windows]\r\nTavoTop=1500\r\nTavoLeft=1500\r\nExtra=keep\r\n\r\n"
             "[Options]\r\nCheckmm=1\r\n; a comment\r\n[Unknown]\r\nsomething=else\r\n[FocalLengths]\r\nFL0=90\r\n");
  startProgram();
  const QString geometry = xdotool({"getwindowgeometry", window});
  EXPECT_TRUE(geometry.contains("Position: 100,100")) << geometry.toStdString();
  click(kSaveToDisk);
  click(kFocalLength);
  xdotool({"key", "ctrl+a"});
  type("210");
  xdotool({"key", "Return"});  // Draw Graph
  ASSERT_TRUE(writesBitmap("KorvelCamDesigner-210.bmp", {201, 137}));
  click(kPlotCams);
  ASSERT_TRUE(writesBitmap("KorvelCamDesigner.bmp", {605, 605}));
  ASSERT_FALSE(findWindow("^Plot Window$").isEmpty());  // beside the designer, as large as a sheet
  click(kHiRes);
  click(kPlotCams);
  ASSERT_TRUE(writesBitmap("KorvelCamDesigner.bmp", {3629, 3629}));
  click(kChkInch);  // 210 mm and the sheet boxes become inches
  click(kXCorUser);  // a click selects the box's text, typing replaces it
  type("1.6");
  click(kYCorUser);
  type("0");
  click(kCalcCor);  // 0 becomes the reference height
  exitProgram();
  QByteArray expected =
      "; written on Windows\n[Windows]\nTavoTop=1500\nTavoLeft=1500\nExtra=keep\n"
      "PWTop=1500\nPWLeft=9870\nPWWidth=9330\nPWHeight=9330\nTavoWidth=8370\nTavoHeight=7035\n\n"
      "[Options]\nCheckmm=0\n; a comment\nCheckinch=1\nCheckFlipImage=1\nCheckDistMarkers=0\nCheckHiRes=1\n"
      "CheckCormm=0\nCheckCorInch=1\n[Unknown]\nsomething=else\n"
      "[FocalLengths]\nFL0=8.2677\nFL1=2.5591\nFL2=3.5433\nFL3=5.315\nFL4=5.9055\nFL5=8.2677\n"
      "FL6=9.8425\nFL7=10.6299\nFL8=11.811\nFL9=14.9606\n"
      "[PrinterCor]\nXCor=0.9375\nYCor=0.9338\nUseCor=0\nXUserMeasure=1.6\nYUserMeasure=0.7\n";
  EXPECT_EQ(settingsText().toStdString(), expected.replace("\n", "\r\n").toStdString());
}

// A logout's SIGTERM ends the program as Exit does: the settings hold what was typed.
TEST_F(EndToEnd, SigtermSavesTheSettingsAndEndsTheProgram) {
  startProgram();
  click(kFocalLength);
  xdotool({"key", "ctrl+a"});
  type("210");
  ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
  ASSERT_TRUE(program.waitForFinished(10000)) << "the program did not end on SIGTERM";
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_TRUE(settingsText().contains("\nFL0=210\n")) << settingsText().toStdString();
}

// Run by the display script with openbox and a large title font.
using UnderOpenbox = EndToEnd;

TEST_F(UnderOpenbox, ATallTitleBarGrowsTheDesignerInsteadOfCuttingOffItsControls) {
  startProgram();
  // The client area the controls were laid out in is 552x437 pixels.
  const auto client = QRegularExpression(R"(Geometry: (\d+)x(\d+))").match(xdotool({"getwindowgeometry", window}));
  EXPECT_GE(client.captured(1).toInt(), 552);
  EXPECT_GE(client.captured(2).toInt(), 437);
  click(kChkCormmLowerHalf);  // reaches the box only when it is not cut off
  exitProgram();
  EXPECT_TRUE(settingsText().contains("\nCheckCormm=1\n"));
  // The keys still hold the outer geometry as it was stored.
  EXPECT_TRUE(settingsText().startsWith("[Windows]\nTavoTop=100\nTavoLeft=800\nTavoWidth=8370\nTavoHeight=7035\n"));
}

}  // namespace
