// One datagram, as received, through every decoder of the device protocol.
// Whatever decodes must carry terminated texts, and encoding it again must give
// a datagram that decodes to the same thing and re-encodes byte for byte.
#include "zovadll/Wire.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

namespace {

using namespace zova::wire;

void Check(bool ok) {
    if (!ok)
        std::abort();
}

// Terminated within the field, and nothing but zeros after the terminator.
template <std::size_t N>
void CheckText(const char (&field)[N]) {
    const void* nul = std::memchr(field, 0, N);
    Check(nul != nullptr);
    for (const char* p = static_cast<const char*>(nul); p != field + N; ++p)
        Check(*p == 0);
}

template <typename T>
bool SameRecord(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Decoding, encoding and decoding again changes nothing; the encoder's output
// is canonical, so it survives a second round unchanged.
template <typename T, typename Decode, typename Encode, typename Same>
void CheckRoundTrip(const Datagram& encoded, Decode decode, Encode encode, Same same,
                    const T& first) {
    const auto header = DecodeHeader(encoded.data(), encoded.size());
    Check(header.has_value());
    const auto again = decode(encoded.data(), encoded.size());
    Check(again.has_value() && same(*again, first));
    Check(encode(header->id, *again) == encoded);
}

void CheckScanAnswer(const ZOVA_ModuleScanResponseType& a) {
    CheckText(a.szType);
    CheckText(a.szHostname);
    CheckText(a.szPasswordSalt);
    // An unreported item arrives invalid and zero.
    Check(a.bTypeValid || a.szType[0] == 0);
    Check(a.bHostnameValid || a.szHostname[0] == 0);
    Check(a.bPasswordSaltValid || a.szPasswordSalt[0] == 0);
    Check(a.bIpAddrValid || a.dwIpAddr == 0);
    Check(a.bFwVersionValid || (a.bFwVersionMajor | a.bFwVersionMinor | a.wFwBuild) == 0);
}

void CheckConfigureRequest(const ZOVA_ConfigureRequestType& r) {
    CheckText(r.szPassword);
    CheckText(r.szNewPassword);
    CheckText(r.szHostname);
    Check(r.bChangePassword <= 1);
    Check(r.bChangePassword || r.szNewPassword[0] == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Exactly sized, so a read past the datagram is caught.
    const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[size ? size : 1]);
    if (size)
        std::memcpy(copy.get(), data, size);
    const std::uint8_t* d = copy.get();

    const auto header = DecodeHeader(d, size);
    int accepted = 0;
    const auto typed = [&](MessageType type) {
        ++accepted;
        Check(header && header->type == type);
    };
    const auto sameRecord = [](const auto& a, const auto& b) { return SameRecord(a, b); };
    const auto sameResult = [](const ConfigureResult& a, const ConfigureResult& b) {
        return a.mac == b.mac && a.outcome == b.outcome;
    };

    if (DecodeScanRequest(d, size)) {
        typed(MessageType::ScanRequest);
        const Datagram again = EncodeScanRequest(header->id);
        Check(DecodeScanRequest(again.data(), again.size()));
    }
    if (const auto answer = DecodeScanAnswer(d, size)) {
        typed(MessageType::ScanAnswer);
        CheckScanAnswer(*answer);
        CheckRoundTrip(EncodeScanAnswer(header->id, *answer), DecodeScanAnswer, EncodeScanAnswer,
                       sameRecord, *answer);
    }
    if (const auto request = DecodeConfigureRequest(d, size)) {
        typed(MessageType::ConfigureRequest);
        CheckConfigureRequest(*request);
        CheckRoundTrip(EncodeConfigureRequest(header->id, *request), DecodeConfigureRequest,
                       EncodeConfigureRequest, sameRecord, *request);
    }
    if (const auto mac = DecodeWinkRequest(d, size)) {
        typed(MessageType::WinkRequest);
        CheckRoundTrip(EncodeWinkRequest(header->id, *mac), DecodeWinkRequest, EncodeWinkRequest,
                       std::equal_to<base::Mac>(), *mac);
    }
    if (const auto result = DecodeConfigureResult(d, size)) {
        typed(MessageType::ConfigureResult);
        CheckRoundTrip(EncodeConfigureResult(header->id, *result), DecodeConfigureResult,
                       EncodeConfigureResult, sameResult, *result);
    }
    Check(accepted <= 1);
    Check(!header || size <= kMaxDatagram);

    // The input as the records the encoders take, every byte of them, texts
    // unterminated included: each encodes within a datagram's bounds (an
    // encoder out of room gives an empty datagram) and decodes to a record
    // that encodes the same.
    ZOVA_ModuleScanResponseType answer;
    ZOVA_ConfigureRequestType request;
    if (size > 0) {
        for (std::size_t i = 0; i < sizeof answer; ++i)
            reinterpret_cast<std::uint8_t*>(&answer)[i] = d[i % size];
        for (std::size_t i = 0; i < sizeof request; ++i)
            reinterpret_cast<std::uint8_t*>(&request)[i] = d[(i + 7) % size];
        const std::uint32_t id = size;
        const Datagram sentAnswer = EncodeScanAnswer(id, answer);
        Check(!sentAnswer.empty() && sentAnswer.size() <= kMaxDatagram);
        const auto gotAnswer = DecodeScanAnswer(sentAnswer.data(), sentAnswer.size());
        Check(gotAnswer.has_value() && EncodeScanAnswer(id, *gotAnswer) == sentAnswer);
        const Datagram sentRequest = EncodeConfigureRequest(id, request);
        Check(!sentRequest.empty() && sentRequest.size() <= kMaxDatagram);
        const auto gotRequest = DecodeConfigureRequest(sentRequest.data(), sentRequest.size());
        Check(gotRequest.has_value() && EncodeConfigureRequest(id, *gotRequest) == sentRequest);
    }
    return 0;
}
