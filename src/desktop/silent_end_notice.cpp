#include "desktop/end_notice.h"

// Built without D-Bus: the desktop is never told of an end; the sound and the
// attention request still are.
namespace timer::desktop {

namespace {

class SilentEndNotice final : public EndNotice {
public:
    void show(QWidget& /*window*/) override {}
    void withdraw() override {}
};

} // namespace

std::unique_ptr<EndNotice> makeEndNotice() { return std::make_unique<SilentEndNotice>(); }

} // namespace timer::desktop
