// One scan's answers as the library hears them, to tell whether answers were
// lost. Every device answers every copy of a scan, so a device heard fewer
// times than copies left after its first answer lost answers, on the way or
// at the library's own socket (the kernel counts the latter, but not
// portably; the copies are counted here). A device that comes up during the
// scan is expected to answer only the copies sent after it was first heard.
// Plain C++, tested natively.
#ifndef VANTREL_ZOVADLL_SCANTALLY_H
#define VANTREL_ZOVADLL_SCANTALLY_H

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace zova {

class ScanTally {
public:
    using Clock = std::chrono::steady_clock;

    // How long after the last copy's answers are expected the scan is
    // judged: answers to it may arrive as late after the copy as the latest
    // first answer came after the first copy, and this much more.
    static constexpr std::chrono::milliseconds kSettle{250};
    // Answers were lost, for the caller, when the share of answers missing
    // makes a device that lost the answers to every copy this likely: the
    // expected number of such devices, n q / (1 - q) with q the share to the
    // power of the copies sent, reaches it.
    static constexpr double kMissingDevices = 0.01;
    // Many answers missing, for sending the scan once more: one in this many
    // of the answers its devices owed was not heard (in whole numbers, so
    // that the limit is the same on every FPU). A socket that overflows
    // drops answers in bursts, a device's answers together, so more devices
    // go missing than a share taken as independent losses makes likely. A
    // link that drops one datagram in a hundred each way stays below it.
    static constexpr std::size_t kAskAgainOneIn = 20;

    explicit ScanTally(std::uint32_t id) : id_(id) {}
    std::uint32_t Id() const { return id_; }
    std::size_t Devices() const { return devices_.size(); }

    // A copy of the scan, the first included, left at `at`, or could not be
    // sent. The scan is judged only once every copy is accounted for.
    void CopyLeft(Clock::time_point at);
    void CopyNotSent();
    // The receiver found its socket empty: every answer that arrived before
    // the copies that have left so far has been heard. Until then a device
    // first heard is taken to have answered an earlier copy, since its
    // answer may have waited in the socket while the copies left.
    void AnswersBeforeCopiesHeard() { copiesHeardAfter_ = copiesLeft_.size(); }

    // A device's first answer, heard at `at`.
    void Add(std::uint64_t device, Clock::time_point at);
    // A further answer: true (and counted) when the device was heard before.
    bool CountRepeat(std::uint64_t device);
    // An answer that could not be passed on: the caller was too far behind.
    void Refused() { refused_ = true; }

    // Whether answers were lost, once, when the answers to the last copy
    // have had their time; nothing before and after.
    std::optional<bool> TakeVerdict(Clock::time_point now);
    // At least one in kAskAgainOneIn of the answers owed was not heard.
    bool ManyAnswersMissing() const;

private:
    struct Heard {
        std::uint8_t copiesBefore;  // copies that had left when it was first heard
        std::uint8_t answers;
    };
    // The answers its devices owed (to the copies that left after their
    // first answers), and how many of them were not heard.
    struct Owed {
        std::size_t answers = 0;
        std::size_t missing = 0;
    };
    Owed AnswersOwed() const;
    bool AnswersLost() const;

    std::uint32_t id_;
    std::vector<Clock::time_point> copiesLeft_;
    std::size_t copiesHeardAfter_ = 0;
    std::size_t copiesNotSent_ = 0;
    std::unordered_map<std::uint64_t, Heard> devices_;
    std::optional<Clock::time_point> latestFirstAnswer_;
    bool refused_ = false;
    bool judged_ = false;
};

}  // namespace zova

#endif  // VANTREL_ZOVADLL_SCANTALLY_H
