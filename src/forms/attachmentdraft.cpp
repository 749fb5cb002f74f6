#include "forms/attachmentdraft.h"

#include "platform/data/attachments.h"
#include "platform/data/fileerror.h"
#include "platform/mediafile.h"

#include <QDateTime>

namespace hk
{

QString attachmentTimeNow()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

int AttachmentDraft::load(DataFile &file, TableId owner, std::int64_t record)
{
    entries_.clear();
    removed_.clear();
    added_ = 0;
    std::vector<AttachmentInfo> stored;
    const int code = listAttachments(file, owner, record, stored);
    for (const AttachmentInfo &a : stored)
        entries_.push_back({a.id,
                            QString::fromStdString(a.fileName),
                            QByteArray::fromStdString(a.mediaType),
                            a.size,
                            QString::fromStdString(a.added),
                            {},
                            {},
                            false});
    return code;
}

QString AttachmentDraft::add(const QString &fileName, const QByteArray &bytes)
{
    InspectedFile f = inspectFile(bytes, fileName, kAttachmentMaxBytes);
    if (!f.ok()) return f.problem;
    // Kept under its own name only: a folder in it means nothing elsewhere.
    QString name = fileName.section(QLatin1Char('/'), -1).left(255);
    if (name.isEmpty()) name = QStringLiteral("attachment");
    entries_.push_back(
        {0, name, f.mediaType, bytes.size(), attachmentTimeNow(), bytes, f.thumbnail, true});
    ++added_;
    return {};
}

void AttachmentDraft::remove(std::size_t index)
{
    if (index >= entries_.size()) return;
    if (entries_[index].id != 0)
        removed_.push_back(entries_[index].id);
    else
        --added_;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

int AttachmentDraft::store(DataFile &file, TableId owner, std::int64_t record)
{
    for (std::int64_t id : removed_)
        if (int code = removeAttachment(file, owner, record, id); code != NoError) return code;
    for (Entry &e : entries_) {
        if (e.id != 0) continue;
        NewAttachment a{e.fileName.toStdString(), e.mediaType.toStdString(), e.added.toStdString(),
                        e.content.toStdString(), e.thumbnail.toStdString()};
        if (int code = addAttachment(file, owner, record, a); code != NoError) return code;
    }
    return setError(NoError);
}

int AttachmentDraft::readNextThumbnail(DataFile &file)
{
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        Entry &e = entries_[i];
        if (e.thumbnailRead) continue;
        e.thumbnailRead = true;
        std::string bytes;
        if (readThumbnail(file, e.id, bytes) == NoError)
            e.thumbnail = QByteArray::fromStdString(bytes);
        return static_cast<int>(i);
    }
    return -1;
}

int AttachmentDraft::content(DataFile &file, std::size_t index, QByteArray &bytes) const
{
    bytes.clear();
    if (index >= entries_.size()) return setError(RecordNotFound);
    const Entry &e = entries_[index];
    if (e.id == 0) {
        bytes = e.content;
        return setError(NoError);
    }
    std::string stored;
    const int code = readContent(file, e.id, stored);
    bytes = QByteArray::fromStdString(stored);
    return code;
}

} // namespace hk
