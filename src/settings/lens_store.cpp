#include "settings/lens_store.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "common/atomic_file.h"
#include "common/write_error.h"

namespace korvel {
namespace {

QJsonValue optionalNumber(const std::optional<double>& value) { return value ? QJsonValue(*value) : QJsonValue(); }

bool isNumber(const QJsonValue& value) { return value.isDouble() && std::isfinite(value.toDouble()); }

// A number or, where allowed, null or nothing; anything else is damage.
bool readOptional(const QJsonObject& o, const char* key, std::optional<double>& into) {
  const QJsonValue value = o.value(key);
  if (value.isNull() || value.isUndefined()) return true;
  if (!isNumber(value)) return false;
  into = value.toDouble();
  return true;
}

std::optional<KeptLens> readLens(const QJsonValue& value) {
  const QJsonObject o = value.toObject();
  KeptLens lens;
  lens.name = o.value("name").toString();
  lens.measured = QDate::fromString(o.value("date").toString(), Qt::ISODate);
  if (lens.name.isEmpty() || !isNumber(o.value("focal_length_mm")) || !isNumber(o.value("infinity_offset_mm")) ||
      !o.value("rows").isArray() || !readOptional(o, "engraved_focal_length_mm", lens.engravedFocalMm) ||
      !readOptional(o, "sigma_focal_length_mm", lens.sigmaFocalMm))
    return std::nullopt;
  lens.focalMm = o.value("focal_length_mm").toDouble();
  lens.infinityOffsetMm = o.value("infinity_offset_mm").toDouble();
  for (const QJsonValue& r : o.value("rows").toArray()) {
    const QJsonObject row = r.toObject();
    if (!isNumber(row.value("magnification")) || !isNumber(row.value("travel_mm"))) return std::nullopt;
    lens.rows.push_back({row.value("magnification").toDouble(), row.value("travel_mm").toDouble()});
  }
  return lens;
}

std::optional<std::vector<KeptLens>> parse(const QByteArray& bytes) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
  if (error.error != QJsonParseError::NoError || !document.object().value("lenses").isArray()) return std::nullopt;
  std::vector<KeptLens> lenses;
  for (const QJsonValue& value : document.object().value("lenses").toArray()) {
    const auto lens = readLens(value);
    if (!lens) return std::nullopt;
    lenses.push_back(*lens);
  }
  return lenses;
}

QByteArray serialize(const std::vector<KeptLens>& lenses) {
  QJsonArray list;
  for (const KeptLens& lens : lenses) {
    QJsonArray rows;
    for (const KeptLensRow& row : lens.rows)
      rows.append(QJsonObject{{"magnification", row.magnification}, {"travel_mm", row.travelMm}});
    list.append(QJsonObject{{"name", lens.name},
                            {"engraved_focal_length_mm", optionalNumber(lens.engravedFocalMm)},
                            {"focal_length_mm", lens.focalMm},
                            {"sigma_focal_length_mm", optionalNumber(lens.sigmaFocalMm)},
                            {"infinity_offset_mm", lens.infinityOffsetMm},
                            {"date", lens.measured.toString(Qt::ISODate)},
                            {"rows", rows}});
  }
  return QJsonDocument(QJsonObject{{"lenses", list}}).toJson(QJsonDocument::Indented);
}

// A name beside the damaged file that nothing holds yet.
QString asideName(const QString& path, const QDateTime& nowUtc) {
  const QString base = path + ".damaged-" + nowUtc.toString("yyyyMMdd'T'HHmmss'Z'");
  QString name = base;
  for (int n = 2; QFile::exists(name); ++n) name = base + "-" + QString::number(n);
  return name;
}

}  // namespace

LensStoreRead readLensStore(const QString& folder, const QDateTime& nowUtc) {
  const QString path = QDir(folder).filePath(kLensStoreFileName);
  QFile file(path);
  if (!file.exists()) return {};
  if (!file.open(QIODevice::ReadOnly))
    return {{}, "The kept lenses cannot be read (" + file.errorString() + "): " + path, false};
  const QByteArray bytes = file.readAll();
  file.close();
  if (auto lenses = parse(bytes)) return {std::move(*lenses), {}, true};
  const QString aside = asideName(path, nowUtc);
  if (!QFile::rename(path, aside))
    return {{}, "The kept lenses are damaged and could not be moved aside; nothing will be saved until " + path +
                    " is moved or repaired",
            false};
  return {{}, "The kept lenses were damaged: the file was moved aside as " + aside + " and a new list is started",
          true};
}

LensStoreWrite writeLensStore(const QString& folder, const std::vector<KeptLens>& lenses, const QDateTime& nowUtc) {
  const LensStoreRead existing = readLensStore(folder, nowUtc);
  if (!existing.canWrite) return {false, existing.problem};
  const QString path = QDir(folder).filePath(kLensStoreFileName);
  const FileWriteResult written = writeFileAtomically(path, serialize(lenses));
  if (!written) return {false, "The lenses could not be saved to " + path + ": " + writeErrorText(written.error)};
  return {true, existing.problem};
}

}  // namespace korvel
