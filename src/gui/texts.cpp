// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/texts.h"

#include <QByteArray>
#include <QFile>

#include "base/codepage.h"

namespace moswit {

QString DidText(std::string_view bytes) {
  const std::string utf8 = Utf8FromCp1252(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string DidBytes(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Cp1252FromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size()))).text;
}

// The core keeps paths as the system's bytes, on Windows as UTF-8
// (base/pathtext.h); QFile would take the Windows code page there.
#ifdef _WIN32
QString FileNameText(const std::string& bytes) {
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string FileNameBytes(const QString& text) { return text.toUtf8().toStdString(); }
#else
QString FileNameText(const std::string& bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string FileNameBytes(const QString& text) { return QFile::encodeName(text).toStdString(); }
#endif

}  // namespace moswit
