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

struct SettingKey {
  std::string_view section;
  std::string_view key;
  SettingKind kind;
  double fallback;                // used when the key is missing or empty
  double (*correct)(double read); // applied to a value that was read
};

namespace corrections {
template <int Low, int Replacement>
constexpr double atLeast(double v) { return v < Low ? Replacement : v; }
template <int Low, int High, int Replacement>
constexpr double within(double v) { return (v < Low || v > High) ? Replacement : v; }
constexpr double xCor(double v) { return v <= 0 ? 0.9375 : v; }
constexpr double yCor(double v) { return v <= 0 ? 0.9338 : v; }
constexpr double useCor(double v) { return v <= 0 ? 0 : v; }
constexpr double measure(double v) { return v == 0 ? 1 : v; }
}  // namespace corrections

namespace key {
enum Designer : std::size_t {
  TavoTop, TavoLeft, TavoWidth, TavoHeight,
  Checkmm, Checkinch, CheckFlipImage, CheckDistMarkers, CheckHiRes,
  XCor, YCor, UseCor, XUserMeasure, YUserMeasure,
  CheckCormm, CheckCorInch,
  FL0, FL1, FL2, FL3, FL4, FL5, FL6, FL7, FL8, FL9,
  DesignerKeyCount
};
enum Plot : std::size_t { PWTop, PWLeft, PWWidth, PWHeight, PlotKeyCount };
}  // namespace key

// In the order in which the designer window reads and writes them.
inline constexpr std::array<SettingKey, key::DesignerKeyCount> kDesignerKeys{{
    {"Windows", "TavoTop", SettingKind::Int16, 100, corrections::atLeast<100, 100>},
    {"Windows", "TavoLeft", SettingKind::Int16, 800, corrections::within<100, 10000, 800>},
    {"Windows", "TavoWidth", SettingKind::Int16, 8370, corrections::atLeast<8370, 8370>},
    {"Windows", "TavoHeight", SettingKind::Int16, 7035, corrections::atLeast<7035, 7035>},
    {"Options", "Checkmm", SettingKind::Int16, 1, corrections::atLeast<0, 0>},
    {"Options", "Checkinch", SettingKind::Int16, 0, corrections::atLeast<0, 0>},
    {"Options", "CheckFlipImage", SettingKind::Int16, 1, corrections::atLeast<0, 0>},
    {"Options", "CheckDistMarkers", SettingKind::Int16, 0, corrections::atLeast<0, 0>},
    {"Options", "CheckHiRes", SettingKind::Int16, 0, corrections::atLeast<0, 0>},
    {"PrinterCor", "XCor", SettingKind::Double, 0.9375, corrections::xCor},
    {"PrinterCor", "YCor", SettingKind::Double, 0.9338, corrections::yCor},
    {"PrinterCor", "UseCor", SettingKind::Double, 0, corrections::useCor},
    {"PrinterCor", "XUserMeasure", SettingKind::Double, 1, corrections::measure},
    {"PrinterCor", "YUserMeasure", SettingKind::Double, 1, corrections::measure},
    {"Options", "CheckCormm", SettingKind::Int16, 0, corrections::atLeast<0, 0>},
    {"Options", "CheckCorInch", SettingKind::Int16, 1, corrections::atLeast<0, 1>},
    {"FocalLengths", "FL0", SettingKind::FocalLength, 135, corrections::atLeast<1, 135>},
    {"FocalLengths", "FL1", SettingKind::FocalLength, 65, corrections::atLeast<1, 65>},
    {"FocalLengths", "FL2", SettingKind::FocalLength, 90, corrections::atLeast<1, 90>},
    {"FocalLengths", "FL3", SettingKind::FocalLength, 135, corrections::atLeast<1, 135>},
    {"FocalLengths", "FL4", SettingKind::FocalLength, 150, corrections::atLeast<1, 150>},
    {"FocalLengths", "FL5", SettingKind::FocalLength, 210, corrections::atLeast<1, 210>},
    {"FocalLengths", "FL6", SettingKind::FocalLength, 250, corrections::atLeast<1, 250>},
    {"FocalLengths", "FL7", SettingKind::FocalLength, 270, corrections::atLeast<1, 270>},
    {"FocalLengths", "FL8", SettingKind::FocalLength, 300, corrections::atLeast<1, 300>},
    {"FocalLengths", "FL9", SettingKind::FocalLength, 380, corrections::atLeast<1, 380>},
}};

// The plot window's geometry, read when it opens and written when it closes.
inline constexpr std::array<SettingKey, key::PlotKeyCount> kPlotWindowKeys{{
    {"Windows", "PWTop", SettingKind::Int16, 100, corrections::atLeast<100, 100>},
    {"Windows", "PWLeft", SettingKind::Int16, 800, corrections::within<100, 10800, 800>},
    {"Windows", "PWWidth", SettingKind::Int16, 8745, corrections::atLeast<8745, 8745>},
    {"Windows", "PWHeight", SettingKind::Int16, 7110, corrections::atLeast<7110, 7110>},
}};

inline constexpr std::string_view kSettingsFileName = "KorvelCamDesigner.ini";

}  // namespace korvel
