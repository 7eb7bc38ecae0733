#pragma once
// A file system in memory for the removal and procedure tests. It records every operation,
// refuses what the platform refuses (a read-only file, a folder not empty, a missing
// entry), and models a link to a folder: listing through the link lists the folder it
// points to, as entering a junction would.

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "uninstall/file_system.h"
#include "uninstall/paths.h"

namespace orbelin::uninstall::testing {

class FakeFileSystem : public FileSystem {
  public:
    explicit FakeFileSystem(std::vector<std::wstring>* log = nullptr)
        : log_(log != nullptr ? log : &ownLog_) {}

    void AddFolder(const std::wstring& path, std::uint32_t attributes = 0) {
        Add(path, attributes | attr::kDirectory, {});
    }
    void AddFile(const std::wstring& path, std::uint32_t attributes = 0) { Add(path, attributes, {}); }
    void AddLink(const std::wstring& path, const std::wstring& target) {
        Add(path, attr::kDirectory | attr::kReparsePoint, target);
    }
    // The next operation on path fails as for a file in use.
    void FailOn(const std::wstring& path) { failOn_ = path; }

    [[nodiscard]] bool Exists(const std::wstring& path) const { return Find(path) != nullptr; }
    [[nodiscard]] std::vector<std::wstring> Paths() const {
        std::vector<std::wstring> out;
        for (const auto& node : nodes_) out.push_back(node.path);
        return out;
    }
    [[nodiscard]] const std::vector<std::wstring>& Log() const { return *log_; }

    std::vector<Entry> List(const std::wstring& folder) override {
        log_->push_back(L"list " + folder);
        CheckFailure(folder);
        const auto real = Resolve(folder);
        const Node* node = Find(real);
        if (node == nullptr || (node->attributes & attr::kDirectory) == 0) {
            throw Error(3, L"path not found: " + folder);
        }
        const std::wstring listed = node->target.empty() ? real : Resolve(node->target);
        std::vector<Entry> entries{{L".", attr::kDirectory}, {L"..", attr::kDirectory}};
        for (const auto& child : nodes_) {
            if (Parent(child.path) == listed) {
                entries.push_back({child.path.substr(listed.size() + 1), child.attributes});
            }
        }
        return entries;
    }

    void RemoveFile(const std::wstring& path) override {
        log_->push_back(L"del " + path);
        CheckFailure(path);
        const auto real = Resolve(path);
        const Node* node = Find(real);
        if (node == nullptr) throw Error(kErrorFileNotFound, L"file not found: " + path);
        if ((node->attributes & (attr::kDirectory | attr::kReadOnly)) != 0) {
            throw Error(kErrorAccessDenied, L"access denied: " + path);
        }
        Erase(real);
    }

    void RemoveFolder(const std::wstring& path) override {
        log_->push_back(L"rd " + path);
        CheckFailure(path);
        const auto real = Resolve(path);
        const Node* node = Find(real);
        if (node == nullptr || (node->attributes & attr::kDirectory) == 0) {
            throw Error(3, L"path not found: " + path);
        }
        if (node->target.empty()) {
            for (const auto& other : nodes_) {
                if (Parent(other.path) == real) throw Error(kErrorDirNotEmpty, L"not empty: " + path);
            }
        }
        Erase(real);
    }

  private:
    struct Node {
        std::wstring path;
        std::uint32_t attributes;
        std::wstring target;
    };

    void Add(const std::wstring& path, std::uint32_t attributes, const std::wstring& target) {
        const auto parent = std::wstring(Parent(path));
        if (parent.size() > 2 && !Exists(parent)) AddFolder(parent);
        nodes_.push_back({path, attributes, target});
    }
    // A path through a link names the entry in the folder the link points to.
    [[nodiscard]] std::wstring Resolve(const std::wstring& path) const {
        for (const auto& node : nodes_) {
            if (!node.target.empty() && path.size() > node.path.size() && path.starts_with(node.path) &&
                path[node.path.size()] == L'\\') {
                return Resolve(node.target + path.substr(node.path.size()));
            }
        }
        return path;
    }
    [[nodiscard]] const Node* Find(const std::wstring& path) const {
        const auto it =
            std::find_if(nodes_.begin(), nodes_.end(), [&](const Node& n) { return n.path == path; });
        return it == nodes_.end() ? nullptr : &*it;
    }
    void Erase(const std::wstring& path) {
        std::erase_if(nodes_, [&](const Node& n) { return n.path == path; });
    }
    void CheckFailure(const std::wstring& path) {
        if (failOn_ && *failOn_ == path) {
            failOn_.reset();
            throw Error(32, L"in use: " + path);
        }
    }

    std::vector<Node> nodes_;
    std::vector<std::wstring> ownLog_;
    std::vector<std::wstring>* log_;
    std::optional<std::wstring> failOn_;
};

}  // namespace orbelin::uninstall::testing
