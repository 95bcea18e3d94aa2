// SPDX-License-Identifier: GPL-3.0-or-later
// The remote's request and message parsing: never crashes, answers only statuses it knows,
// takes no more bytes than it was given, and lets no command through without the token.
#include "FuzzCheck.h"
#include "HttpRequestParser.h"
#include "RemoteApi.h"
#include "RemoteLimits.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QByteArray token = "00112233445566778899aabbccddeeff";
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const auto parsed = HttpRequestParser::parse(bytes);
    using Kind = HttpRequestParser::Result::Kind;
    if (parsed.kind == Kind::Bad)
        fuzzCheck(RemoteApi::reason(parsed.status) != "Error", "a known status");
    if (parsed.kind == Kind::Complete) {
        fuzzCheck(parsed.consumed <= bytes.size(), "consumed within the input");
        fuzzCheck(parsed.request.body.size() <= RemoteLimits::maxPart, "body within its limit");
        const auto route = RemoteApi::route(parsed.request, token);
        fuzzCheck(route.kind != RemoteApi::Route::Kind::Error ||
                      RemoteApi::reason(route.status) != "Error",
                  "a known status");
        if (route.kind == RemoteApi::Route::Kind::Command)
            fuzzCheck(parsed.request.header("authorization").contains(token),
                      "command has the token");
    }

    if (const auto command = RemoteApi::commandFromMessage(bytes)) {
        fuzzCheck(command->seconds >= -RemoteLimits::maxSeconds &&
                      command->seconds <= RemoteLimits::maxSeconds,
                  "seconds in range");
        fuzzCheck(command->text.size() <= RemoteLimits::maxMessageLength, "text in range");
    }
    return 0;
}
