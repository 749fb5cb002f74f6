// A form's photos and papers while it is open: those stored with the record
// when the form opened, less those the user removed, and those added since,
// which are held in memory until OK stores them with the record, inside its
// transaction, or Cancel drops them with the form.
#pragma once

#include "dictionary/tabledef.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace hk
{

class DataFile;

class AttachmentDraft
{
  public:
    struct Entry {
        std::int64_t id = 0; // the stored one's; 0 for one added since opening
        QString fileName;
        QByteArray mediaType;
        std::int64_t size = 0;
        QString added;
        QByteArray content;   // an added one's bytes (a stored one's stay in the file)
        QByteArray thumbnail; // once read or made; empty for a document
        bool thumbnailRead = false;
        bool isDocument() const { return mediaType == "application/pdf"; }
    };

    // Lists what the record holds now, without reading any bytes; whatever
    // was added or removed before is forgotten. Sets lastError().
    int load(DataFile &file, TableId owner, std::int64_t record);

    // Checks a file offered by the user and adds it with its thumbnail. The
    // reason in words when it is refused (and nothing is added), else empty.
    QString add(const QString &fileName, const QByteArray &bytes);
    void remove(std::size_t index);

    const std::vector<Entry> &entries() const { return entries_; }
    bool changed() const { return !removed_.empty() || added_ > 0; }

    // Inside the caller's transaction: removes what the user removed and
    // stores what was added, for the record; a file code.
    int store(DataFile &file, TableId owner, std::int64_t record);

    // Reads the thumbnail of the first stored entry not read yet; its index,
    // or -1 when every one is read. One that has gone meanwhile (another
    // station removed it) is marked read with no picture.
    int readNextThumbnail(DataFile &file);
    // An entry's whole file: held here for an added one, read for a stored
    // one. Sets lastError().
    int content(DataFile &file, std::size_t index, QByteArray &bytes) const;

  private:
    std::vector<Entry> entries_;
    std::vector<std::int64_t> removed_;
    int added_ = 0;
};

// What a form says when it keeps a file: "yyyy-MM-dd HH:mm:ss", local time.
QString attachmentTimeNow();

} // namespace hk
