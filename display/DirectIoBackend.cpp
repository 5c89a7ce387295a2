// Direct I/O: permission for the port's four registers with ioperm, then a 16-bit outw per register
// write, the value zero-extended so that its high byte, always 0, goes to the next address. Needs root
// or CAP_SYS_RAWIO, and x86.

#include <cerrno>
#include <cstring>

#include "PortBackend.h"
#include "PortRegisters.h"
#include "PortSystemCalls.h"

namespace lcd {
namespace {

constexpr unsigned long FirstPort = DataRegister;
constexpr unsigned long PortCount = 4;  // 0x378-0x37B: outw to 0x37A also touches 0x37B

class DirectIo final : public PortBackend {
  public:
    explicit DirectIo(PortSystemCalls& calls) : calls_(calls) {}
    ~DirectIo() override { calls_.Ioperm(FirstPort, PortCount, false); }

    void Write(std::uint16_t address, std::uint16_t value) override { calls_.Outw(value, address); }

    std::string Description() const override { return "direct I/O"; }

  private:
    PortSystemCalls& calls_;
};

}  // namespace

std::unique_ptr<PortBackend> OpenDirectIo(PortSystemCalls& calls, std::string& reason) {
    const int result = calls.Ioperm(FirstPort, PortCount, true);
    if (result == 0) {
        return std::make_unique<DirectIo>(calls);
    }
    switch (-result) {
        case EPERM:
        case EACCES:
            reason =
                "Direct I/O (ioperm): operation not permitted. It needs root or CAP_SYS_RAWIO (sudo setcap "
                "cap_sys_rawio+ep on the program), and a kernel locked down by Secure Boot refuses it even "
                "then.";
            break;
        case ENOSYS:
            reason = "Direct I/O (ioperm): not available on this machine; it needs an x86 PC.";
            break;
        default:
            reason = std::string("Direct I/O (ioperm): ") + std::strerror(-result) + ".";
    }
    return nullptr;
}

}  // namespace lcd
