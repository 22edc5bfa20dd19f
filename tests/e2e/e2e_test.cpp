#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>


namespace {

// Centres of the designer's controls in its client area, in pixels.
struct Spot {
  int x, y;
};
constexpr Spot kFocalLength{212, 65};
constexpr Spot kChkInch{270, 88};
constexpr Spot kSaveToDisk{336, 204};
constexpr Spot kPlotCams{84, 260};
constexpr Spot kHiRes{440, 296};
constexpr Spot kCalcCor{100, 400};
constexpr Spot kXCorUser{284, 393};
constexpr Spot kYCorUser{284, 417};
constexpr Spot kExit{492, 412};
// The lowest controls: the measurement unit boxes reach down to 433 pixels.
constexpr Spot kChkCormmLowerHalf{48, 429};
constexpr QSize kDesignedClient{552, 437};

bool waitFor(const std::function<bool()>& done, int ms = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QThread::msleep(50);
  }
  return true;
}

class EndToEnd : public ::testing::Test {
 protected:
  QTemporaryDir folder;  // becomes the program folder
  QProcess program;
  QString window;

  // Each case runs on a display of its own, set up by the script that starts
  // the test program.
  void SetUp() override {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "run through scripts/with-display.sh";
    qputenv("QT_QPA_PLATFORM", "xcb");  // the program and the tools it starts use the real display
    ASSERT_TRUE(QFile::copy(KORVEL_PROGRAM, path("korvel-cam-designer")));
  }

  void TearDown() override { stop(program); }

  // A process still running is asked to end first, and killed only when it
  // does not.
  static void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
      process.kill();
      process.waitForFinished(5000);
    }
  }

  QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }

  int run(const QString& tool, const QStringList& args, QString* output = nullptr) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(15000)) {
      stop(p);
      return -1;
    }
    if (output) *output = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    return p.exitCode();
  }

  QString findWindow(const QString& title) {
    QString id;
    waitFor([&] {
      run("xdotool", {"search", "--name", "^" + title + "$"}, &id);
      id = id.section('\n', 0, 0);
      return !id.isEmpty();
    });
    return id;
  }

  void startProgram() {
    program.setWorkingDirectory(folder.path());
    program.start(path("korvel-cam-designer"), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    window = findWindow("Korvel Cam Designer");
    ASSERT_FALSE(window.isEmpty());
    QThread::msleep(500);  // the window maps and takes the focus
    run("xdotool", {"mousemove", "--window", window, "300", "30"});
  }

  void click(Spot at) {
    run("xdotool", {"mousemove", "--window", window, QString::number(at.x), QString::number(at.y), "click", "1"});
    QThread::msleep(300);
  }
  // Types over the selected text of the focused box.
  void type(const QString& text, bool enter = false) {
    run("xdotool", {"type", "--delay", "30", text});
    if (enter) run("xdotool", {"key", "Return"});
    QThread::msleep(300);
  }

  void exitProgram() {
    click(kExit);
    ASSERT_TRUE(program.waitForFinished(10000)) << "the program did not end on Exit";
  }

  QByteArray settingsText() const {
    QFile file(QDir(folder.path()).filePath("KorvelCamDesigner.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QImage bitmapOnceWritten(const QString& name, QSize size) {
    QImage image;
    waitFor([&] {
      image = QImage(path(name));
      return image.size() == size;
    });
    return image;
  }
};

// Whether a saved drawing holds any ink; the drawings themselves are compared
// pixel for pixel with golden images by the command tests.
bool hasInk(const QImage& image) {
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  for (int y = 0; y < grey.height(); ++y) {
    const uchar* row = grey.constScanLine(y);
    if (std::any_of(row, row + grey.width(), [](uchar v) { return v < 128; })) return true;
  }
  return false;
}

TEST_F(EndToEnd, ASessionLeavesEveryKeyWithItsValueInTheSettingsFile) {
  startProgram();
  type("210", true);  // the focal length has the focus and its text selected
  click(kChkInch);  // 210 mm and the sheet boxes become inches
  click(kXCorUser);  // a click selects the box's text, typing replaces it
  type("1.6");
  click(kYCorUser);
  type("0");
  click(kCalcCor);  // 0 becomes the reference height
  exitProgram();
  const QByteArray expected =
      "[Windows]\nTavoTop=100\nTavoLeft=800\nTavoWidth=8370\nTavoHeight=7035\n"
      "[Options]\nCheckmm=0\nCheckinch=1\nCheckFlipImage=1\nCheckDistMarkers=0\nCheckHiRes=0\n"
      "CheckCormm=0\nCheckCorInch=1\n"
      "[PrinterCor]\nXCor=0.9375\nYCor=0.9338\nUseCor=0\nXUserMeasure=1.6\nYUserMeasure=0.7\n"
      "[FocalLengths]\nFL0=8.3\nFL1=2.6\nFL2=3.5\nFL3=5.3\nFL4=5.9\nFL5=8.3\nFL6=9.8\nFL7=10.6\nFL8=11.8\n"
      "FL9=15\n";
  EXPECT_EQ(settingsText().toStdString(), expected.toStdString());
}

TEST_F(EndToEnd, DrawGraphSavesTheMirroredCamAsABitmap) {
  startProgram();
  click(kSaveToDisk);
  click(kFocalLength);
  run("xdotool", {"key", "ctrl+a"});
  type("150", true);
  const QImage cam = bitmapOnceWritten("KorvelCamDesigner-150.bmp", QSize(201, 137));
  ASSERT_EQ(cam.size(), QSize(201, 137));
  EXPECT_TRUE(hasInk(cam));
  exitProgram();
}

TEST_F(EndToEnd, CamSheetsInBothResolutionsAndThePlotWindowsGeometry) {
  startProgram();
  click(kSaveToDisk);
  click(kPlotCams);
  const QImage normal = bitmapOnceWritten("KorvelCamDesigner.bmp", QSize(605, 605));
  ASSERT_EQ(normal.size(), QSize(605, 605));
  const QString plot = findWindow("Plot Window");
  ASSERT_FALSE(plot.isEmpty());
  // The plot window opens over the designer; move it aside.
  run("xdotool", {"windowmove", plot, "700", "100"});
  QThread::msleep(500);
  click(kHiRes);
  click(kPlotCams);
  const QImage high = bitmapOnceWritten("KorvelCamDesigner.bmp", QSize(3629, 3629));
  ASSERT_EQ(high.size(), QSize(3629, 3629));
  EXPECT_TRUE(hasInk(normal));
  EXPECT_TRUE(hasInk(high));
  exitProgram();
  EXPECT_TRUE(settingsText().startsWith("[Windows]\nPWTop=1500\nPWLeft=10500\nPWWidth=8745\nPWHeight=7110\n"));
}

TEST_F(EndToEnd, ASettingsFileFromWindowsSurvivesASession) {
  const QByteArray windowsFile =
      "; written on Windows\r\n[Windows]\r\nTavoTop=1500\r\nTavoLeft=1500\r\nExtra=keep\r\n\r\n"
      "[Options]\r\nCheckmm=1\r\n; a comment\r\n[Unknown]\r\nsomething=else\r\n"
      "[FocalLengths]\r\nFL0=90\r\n";
  {
    QFile file(path("KorvelCamDesigner.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(windowsFile);
  }
  startProgram();
  QString geometry;
  run("xdotool", {"getwindowgeometry", window}, &geometry);
  EXPECT_TRUE(geometry.contains("Position: 100,100")) << geometry.toStdString();
  exitProgram();
  const QByteArray saved = settingsText();
  for (const char* line : {"; written on Windows\r\n", "Extra=keep\r\n", "; a comment\r\n",
                           "[Unknown]\r\nsomething=else\r\n", "FL0=90\r\n", "TavoTop=1500\r\n"})
    EXPECT_TRUE(saved.contains(line)) << line;
  EXPECT_EQ(saved.count('\n'), saved.count("\r\n"));
}

// Run by the display script with openbox and a large title font.
class UnderOpenbox : public EndToEnd {
 protected:
  QSize clientSize() {
    QString info;
    run("xwininfo", {"-id", window}, &info);
    auto number = [&](const char* name) {
      return QRegularExpression(QString(name) + R"(:\s+(\d+))").match(info).captured(1).toInt();
    };
    return {number("Width"), number("Height")};
  }
};

TEST_F(UnderOpenbox, ATallTitleBarGrowsTheDesignerInsteadOfCuttingOffItsControls) {
  startProgram();
  const QSize client = clientSize();
  EXPECT_GE(client.width(), kDesignedClient.width());
  EXPECT_GE(client.height(), kDesignedClient.height());
  click(kChkCormmLowerHalf);  // reaches the box only when it is not cut off
  exitProgram();
  EXPECT_TRUE(settingsText().contains("\nCheckCormm=1\n"));
  // The keys still hold the outer geometry as it was stored.
  EXPECT_TRUE(settingsText().startsWith("[Windows]\nTavoTop=100\nTavoLeft=800\nTavoWidth=8370\nTavoHeight=7035\n"));
}

}  // namespace
