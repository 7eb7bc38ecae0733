#include "scripthost/transaction.h"

#include "common/error.h"
#include "common/messages.h"

namespace orbelin::reg {

void Transaction::Write(const Path& path, const Value& value) {
    const RawValue raw = std::holds_alternative<std::wstring>(value)
                             ? StringValue(std::get<std::wstring>(value))
                             : StringValue(std::to_wstring(std::get<std::int64_t>(value)));
    Prior prior = registry_.Exchange(path, raw);
    done_.push_back({path, std::move(prior)});
}

bool Transaction::Rollback() noexcept {
    bool complete = true;
    for (std::size_t i = done_.size(); i-- > 0;) {
        const Done& done = done_[i];
        try {
            if (done.prior.value) {
                registry_.WriteRaw(done.path, *done.prior.value);
            } else {
                registry_.DeleteValue(done.path);
            }
            if (done.prior.createdKey) registry_.DeleteKey(done.path.root, *done.prior.createdKey);
        } catch (...) {
            complete = false;  // keep going: put back as much as can be put back
        }
    }
    done_.clear();
    return complete;
}

void WriteAll(Registry& registry, const std::vector<std::pair<Path, Value>>& writes) {
    Transaction transaction(registry);
    try {
        for (const auto& [path, value] : writes) transaction.Write(path, value);
    } catch (const Error& error) {
        const bool restored = transaction.Rollback();
        throw Error(error.Number(),
                    error.Description() + (restored ? messages::kRollbackDone : messages::kRollbackFailed));
    } catch (...) {
        (void)transaction.Rollback();
        throw;
    }
}

}  // namespace orbelin::reg
