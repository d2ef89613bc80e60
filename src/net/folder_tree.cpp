#include "net/folder_tree.h"

#include "net/answer_mapping.h"

namespace vistello {

namespace {

constexpr int kDeepestFolder = 64;

ServerAnswer ListBelow(const FolderLister& list, const std::string& folder, int depth,
                       std::vector<ServerFile>& files) {
    if (depth > kDeepestFolder)
        return Answer(ServerAnswer::Kind::Failed, "the server lists folders without end");
    std::vector<ListedEntry> entries;
    if (ServerAnswer answer = list(folder, entries); !answer.Ok()) return answer;
    for (const ListedEntry& entry : entries) {
        const std::string name = folder.empty() ? entry.name : folder + "/" + entry.name;
        if (!entry.folder) {
            files.push_back({name, entry.size});
        } else if (ServerAnswer answer = ListBelow(list, name, depth + 1, files); !answer.Ok()) {
            return answer;
        }
    }
    return {};
}

}  // namespace

ServerAnswer ListTree(const FolderLister& list, std::vector<ServerFile>& files) {
    files.clear();
    return ListBelow(list, "", 0, files);
}

}  // namespace vistello
