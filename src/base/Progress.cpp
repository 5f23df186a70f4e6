#include "base/Progress.h"

namespace {

class TNoProgress final : public TProgress {
  public:
    bool Report(std::int64_t, std::int64_t) override { return false; }
};

}  // namespace

TProgress& NoProgress() {
    static TNoProgress none;
    return none;
}
