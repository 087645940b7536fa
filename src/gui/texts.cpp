// SPDX-License-Identifier: GPL-2.0-or-later
#include "gui/texts.h"

#include <QByteArray>
#include <QFile>

namespace moswit {

QString DidText(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string DidBytes(const QString& text) { return text.toLatin1().toStdString(); }

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
