#include "qt/dropped_paths.h"

#include <QUrl>
#include <algorithm>

namespace vistello {

bool CarriesLocalFiles(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

std::vector<std::string> LocalPaths(const QMimeData& data) {
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) continue;
        // Decoded from the address's own bytes, so a name that is not UTF-8 still names its file.
        const QByteArray path =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        paths.emplace_back(path.constData(), static_cast<size_t>(path.size()));
    }
    return paths;
}

}  // namespace vistello
