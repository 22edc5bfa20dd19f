#pragma once

#include <array>
#include <string_view>

// Every key of the settings file: where it stands, how its text is read, the
// value used when it is missing, and the correction a read value gets.
namespace korvel {

enum class SettingKind {
  Int16,        // window geometry in twips, check box states
  Double,       // correction factors and measurements
  FocalLength,  // focal lengths, kept with their fractions
};

// What shows a key's value in the designer window, and so how the value is
// written into it and how its text is stored.
enum class SettingControl {
  WindowGeometry,    // one of the window's four geometry parts, in twips
  CheckBox,          // a check box: 0 clear, 1 checked, 2 dimmed
  CorrectionFactor,  // a text box: the shortest number; stored with a point whatever was typed
  Measurement,       // a text box: "#.####"; stored as it stands
  FocalLength,       // a text box: the shortest number; stored as it stands
  // A factor the window holds for a dialog: the shortest number; stored with a
  // point whatever was typed, and only once the file held it or the user
  // changed it, so an older file comes back as it was.
  HeldFactor,
};

struct SettingKey {
  std::size_t slot;               // its place in its table, as its enum names it
  std::string_view section;
  std::string_view key;
  SettingKind kind;
  double fallback;                // used when the key is missing or empty
  double (*correct)(double read); // applied to a value that was read
  SettingControl control = SettingControl::WindowGeometry;
  // The control's text before the settings are read, where it is not the
  // fallback's: what a control keeps when its value cannot be shown.
  std::string_view initialText = {};
};

// The printer correction factors a fresh start uses.
inline constexpr double kDefaultXCor = 0.9375;
inline constexpr double kDefaultYCor = 0.9338;

namespace corrections {
template <int Low, int Replacement>
constexpr double atLeast(double v) { return v < Low ? Replacement : v; }
template <int Low, int High, int Replacement>
constexpr double within(double v) { return (v < Low || v > High) ? Replacement : v; }
constexpr double xCor(double v) { return v <= 0 ? kDefaultXCor : v; }
constexpr double yCor(double v) { return v <= 0 ? kDefaultYCor : v; }
constexpr double useCor(double v) { return v <= 0 ? 0 : v; }
constexpr double measure(double v) { return v == 0 ? 1 : v; }
constexpr double scannerCor(double v) { return v <= 0 ? 1 : v; }
}  // namespace corrections

namespace key {
enum Designer : std::size_t {
  TavoTop, TavoLeft, TavoWidth, TavoHeight,
  Checkmm, Checkinch, CheckFlipImage, CheckDistMarkers, CheckHiRes,
  XCor, YCor, UseCor, XUserMeasure, YUserMeasure,
  CheckCormm, CheckCorInch,
  FL0, FL1, FL2, FL3, FL4, FL5, FL6, FL7, FL8, FL9,
  ScannerXCor, ScannerYCor,
  DesignerKeyCount
};
enum Plot : std::size_t { PWTop, PWLeft, PWWidth, PWHeight, PlotKeyCount };
}  // namespace key

// In the order in which the designer window reads and writes them.
inline constexpr std::array<SettingKey, key::DesignerKeyCount> kDesignerKeys{{
    {key::TavoTop, "Windows", "TavoTop", SettingKind::Int16, 100, corrections::atLeast<100, 100>},
    {key::TavoLeft, "Windows", "TavoLeft", SettingKind::Int16, 800, corrections::within<100, 10000, 800>},
    {key::TavoWidth, "Windows", "TavoWidth", SettingKind::Int16, 8370, corrections::atLeast<8370, 8370>},
    {key::TavoHeight, "Windows", "TavoHeight", SettingKind::Int16, 7035, corrections::atLeast<7035, 7035>},
    {key::Checkmm, "Options", "Checkmm", SettingKind::Int16, 1, corrections::atLeast<0, 0>, SettingControl::CheckBox},
    {key::Checkinch, "Options", "Checkinch", SettingKind::Int16, 0, corrections::atLeast<0, 0>, SettingControl::CheckBox},
    {key::CheckFlipImage, "Options", "CheckFlipImage", SettingKind::Int16, 1, corrections::atLeast<0, 0>, SettingControl::CheckBox},
    {key::CheckDistMarkers, "Options", "CheckDistMarkers", SettingKind::Int16, 0, corrections::atLeast<0, 0>, SettingControl::CheckBox},
    {key::CheckHiRes, "Options", "CheckHiRes", SettingKind::Int16, 0, corrections::atLeast<0, 0>, SettingControl::CheckBox},
    {key::XCor, "PrinterCor", "XCor", SettingKind::Double, kDefaultXCor, corrections::xCor, SettingControl::CorrectionFactor},
    {key::YCor, "PrinterCor", "YCor", SettingKind::Double, kDefaultYCor, corrections::yCor, SettingControl::CorrectionFactor, "0.9463"},
    {key::UseCor, "PrinterCor", "UseCor", SettingKind::Double, 0, corrections::useCor, SettingControl::CheckBox},
    {key::XUserMeasure, "PrinterCor", "XUserMeasure", SettingKind::Double, 1, corrections::measure, SettingControl::Measurement, "1.5"},
    {key::YUserMeasure, "PrinterCor", "YUserMeasure", SettingKind::Double, 1, corrections::measure, SettingControl::Measurement, ".705"},
    {key::CheckCormm, "Options", "CheckCormm", SettingKind::Int16, 0, corrections::atLeast<0, 0>, SettingControl::CheckBox},
    {key::CheckCorInch, "Options", "CheckCorInch", SettingKind::Int16, 1, corrections::atLeast<0, 1>, SettingControl::CheckBox},
    {key::FL0, "FocalLengths", "FL0", SettingKind::FocalLength, 135, corrections::atLeast<1, 135>, SettingControl::FocalLength},
    {key::FL1, "FocalLengths", "FL1", SettingKind::FocalLength, 65, corrections::atLeast<1, 65>, SettingControl::FocalLength},
    {key::FL2, "FocalLengths", "FL2", SettingKind::FocalLength, 90, corrections::atLeast<1, 90>, SettingControl::FocalLength},
    {key::FL3, "FocalLengths", "FL3", SettingKind::FocalLength, 135, corrections::atLeast<1, 135>, SettingControl::FocalLength},
    {key::FL4, "FocalLengths", "FL4", SettingKind::FocalLength, 150, corrections::atLeast<1, 150>, SettingControl::FocalLength},
    {key::FL5, "FocalLengths", "FL5", SettingKind::FocalLength, 210, corrections::atLeast<1, 210>, SettingControl::FocalLength},
    {key::FL6, "FocalLengths", "FL6", SettingKind::FocalLength, 250, corrections::atLeast<1, 250>, SettingControl::FocalLength},
    {key::FL7, "FocalLengths", "FL7", SettingKind::FocalLength, 270, corrections::atLeast<1, 270>, SettingControl::FocalLength},
    {key::FL8, "FocalLengths", "FL8", SettingKind::FocalLength, 300, corrections::atLeast<1, 300>, SettingControl::FocalLength},
    {key::FL9, "FocalLengths", "FL9", SettingKind::FocalLength, 380, corrections::atLeast<1, 380>, SettingControl::FocalLength},
    // The scanner's correction factors, true / measured, for "Check a cut cam".
    {key::ScannerXCor, "Scanner", "XCor", SettingKind::Double, 1, corrections::scannerCor, SettingControl::HeldFactor},
    {key::ScannerYCor, "Scanner", "YCor", SettingKind::Double, 1, corrections::scannerCor, SettingControl::HeldFactor},
}};

// A window's four geometry keys, in this order.
enum class GeometryPart : std::size_t { Top, Left, Width, Height };
inline constexpr std::size_t kGeometryPartCount = 4;
static_assert(key::PlotKeyCount == kGeometryPartCount);
using WindowGeometryKeys = std::array<SettingKey, kGeometryPartCount>;

// Each row stands at the place its enum gives it, so a row moved or left out
// stops the build instead of reading one key into another's control.
template <std::size_t N>
constexpr bool inSlotOrder(const std::array<SettingKey, N>& table) {
  for (std::size_t k = 0; k < N; ++k)
    if (table[k].slot != k) return false;
  return true;
}
static_assert(inSlotOrder(kDesignerKeys));

inline constexpr WindowGeometryKeys kDesignerWindowKeys{{
    kDesignerKeys[key::TavoTop], kDesignerKeys[key::TavoLeft],
    kDesignerKeys[key::TavoWidth], kDesignerKeys[key::TavoHeight]}};

// The plot window's geometry, read when it opens and written when it closes.
inline constexpr WindowGeometryKeys kPlotWindowKeys{{
    {key::PWTop, "Windows", "PWTop", SettingKind::Int16, 100, corrections::atLeast<100, 100>},
    {key::PWLeft, "Windows", "PWLeft", SettingKind::Int16, 800, corrections::within<100, 10800, 800>},
    {key::PWWidth, "Windows", "PWWidth", SettingKind::Int16, 8745, corrections::atLeast<8745, 8745>},
    {key::PWHeight, "Windows", "PWHeight", SettingKind::Int16, 7110, corrections::atLeast<7110, 7110>},
}};
static_assert(inSlotOrder(kPlotWindowKeys));

inline constexpr std::string_view kSettingsFileName = "KorvelCamDesigner.ini";

// The folder the last export for cutting went to, where the next one starts: a
// text, not a number, written as soon as an export succeeds.
inline constexpr std::string_view kExportSection = "Export";
inline constexpr std::string_view kExportFolderKey = "Folder";
// The filing allowance last typed for a part, in mm with "." as typed: written
// only once typed, so a file that never held it keeps its bytes.
inline constexpr std::string_view kExportAllowanceKey = "Allowance";

}  // namespace korvel
