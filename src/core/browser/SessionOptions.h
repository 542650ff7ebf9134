#pragma once

// The options every page loads by: the download-control flags a page answers, the proxy choice,
// the home page and the security names.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelvora {

inline constexpr int kPagePermissionCount =
    7;  // Image, Sound, Video, Java, Script, ActiveX, ActiveX Download
inline constexpr int kGlobalDownloadFlagCount = 8;

// The download-control bits.
inline constexpr std::uint32_t kDlctlDlImages = 0x10;
inline constexpr std::uint32_t kDlctlVideos = 0x20;
inline constexpr std::uint32_t kDlctlBgSounds = 0x40;
inline constexpr std::uint32_t kDlctlNoScripts = 0x80;
inline constexpr std::uint32_t kDlctlNoJava = 0x100;
inline constexpr std::uint32_t kDlctlNoRunActiveXCtls = 0x200;
inline constexpr std::uint32_t kDlctlNoDlActiveXCtls = 0x400;
inline constexpr std::uint32_t kDlctlDownloadOnly = 0x800;
inline constexpr std::uint32_t kDlctlNoFrameDownload = 0x1000;
inline constexpr std::uint32_t kDlctlResynchronize = 0x2000;
inline constexpr std::uint32_t kDlctlPragmaNoCache = 0x4000;
inline constexpr std::uint32_t kDlctlForceOffline = 0x10000000;
inline constexpr std::uint32_t kDlctlNoClientPull = 0x20000000;
inline constexpr std::uint32_t kDlctlSilent = 0x40000000;
inline constexpr std::uint32_t kDlctlOfflineIfNotConnected = 0x80000000;

// Images, sounds and videos add their bit when on; Java, scripts and the two ActiveX switches
// add theirs when off; each global flag adds its bit when on.
std::uint32_t DownloadControlFlags(std::span<const bool, kPagePermissionCount> page,
                                   std::span<const bool, kGlobalDownloadFlagCount> globals);

// What a page's request may do under its download-control flags and the program's offline
// state: nothing leaves for the network while offline or forced offline; images are refused
// without the image switch; media needs the sound or the video switch (one request kind carries
// both); plugin content is refused with Java or ActiveX off; "no cache" asks for a fresh copy.
enum class RequestKind { kOther, kImage, kMedia, kPluginContent };
struct RequestDecision {
  bool block = false;
  bool noCache = false;
  bool operator==(const RequestDecision&) const = default;
};
// Whether an address of this scheme is fetched from the network (http, https, ws, wss, ftp).
bool SchemeNeedsNetwork(std::string_view scheme);
RequestDecision DecideRequest(std::uint32_t flags, bool offline, bool needsNetwork,
                              RequestKind kind);

// What choosing a proxy entry does.
struct ProxyChoice {
  // kUnusable: a text that names no proxy; the proxy stays as it was and the user is told.
  enum class Kind { kLeaveAlone, kDirect, kProxy, kUnusable } kind = Kind::kLeaveAlone;
  std::string host;
  std::uint16_t port = 0;
  bool bypassLocal = false;  // "<local>": host names without a dot go direct
  bool socks = false;        // a "socks=" entry
  bool operator==(const ProxyChoice&) const = default;
};
// Nothing happens for an empty text or while "Use IE Proxy" is checked; "0" is a direct
// connection; anything else is "host:port" (the port defaults to 80; "http://" in front is
// allowed), or a list of such entries separated by ";" or blanks, each perhaps naming its scheme
// as in "http=host:port;https=host:port": the http entry is used, else the first.
ProxyChoice ChooseProxy(std::string_view text, bool useIEProxy, bool bypassLocal);

// The name of a security state 0..6 from `names`; empty for other values.
std::string SecurityName(int lockIcon, std::span<const std::string> names);

// What the Home command opens when there is no address to go to.
inline constexpr std::string_view kBlankPage = "about:blank";

// The home page: the stored address when "WebHomePage" is on, else the start page. An empty (or
// blank) address is the blank page: a tab opened on nothing would never finish loading.
std::string HomePage(bool useStored, std::string_view stored, std::string_view startPage);

}  // namespace zelvora
