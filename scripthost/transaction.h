#pragma once
// A group of registry writes that either all take effect or leave the registry as it was.
// Each write records what it replaced; Rollback puts those back in reverse order, so a key
// seen through two roots (HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE\SOFTWARE\Classes) ends
// up exactly as it started.

#include <vector>

#include "scripthost/registry.h"

namespace orbelin::reg {

class Transaction {
  public:
    explicit Transaction(Registry& registry) : registry_(registry) {}
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Write(const Path& path, const Value& value);

    // Undoes every write so far; true when everything was put back.
    [[nodiscard]] bool Rollback() noexcept;

  private:
    struct Done {
        Path path;
        Prior prior;
    };
    Registry& registry_;
    std::vector<Done> done_;
};

// Runs the writes as one transaction. On failure, undoes what was written and rethrows the
// error, its description telling whether the registry is back as it was.
void WriteAll(Registry& registry, const std::vector<std::pair<Path, Value>>& writes);

}  // namespace orbelin::reg
