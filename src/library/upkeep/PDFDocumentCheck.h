#pragma once

#include <QString>

// PDF files as the library checks them.
namespace pdfDocumentCheck {

// Whether the file opens as a PDF document (without a password) and has a first page. Any thread.
bool hasFirstPage(const QString& path);

} // namespace pdfDocumentCheck
