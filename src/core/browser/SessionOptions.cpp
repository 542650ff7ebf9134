#include "core/browser/SessionOptions.h"

#include "core/text/Utf8.h"

namespace zelvora {

namespace {

// The global flags' bits, in the order the settings keep their switches.
constexpr std::array<std::uint32_t, kGlobalDownloadFlagCount> kGlobalBits = {
    kDlctlDownloadOnly, kDlctlNoFrameDownload, kDlctlResynchronize, kDlctlPragmaNoCache,
    kDlctlForceOffline, kDlctlNoClientPull,    kDlctlSilent,        kDlctlOfflineIfNotConnected,
};

constexpr std::string_view kHttpPrefix = "http://";
constexpr std::uint16_t kDefaultProxyPort = 80;

// A host name may hold neither blanks, control characters nor path separators.
bool IsHostText(std::string_view host) {
  if (host.empty())
    return false;
  for (const char c : host) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || c == '/' || c == '\\' || c == '[' || c == ']' || c == '=' ||
        c == ';')
      return false;
  }
  return true;
}

// 1..65535 written in ASCII digits only.
std::optional<std::uint16_t> ParsePort(std::string_view text) {
  if (text.empty())
    return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9')
      return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
    if (value > 65535)
      return std::nullopt;
  }
  if (value == 0)
    return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

struct HostPort {
  std::string_view host;
  std::uint16_t port = kDefaultProxyPort;
};

// "host", "host:port", "[v6]" or "[v6]:port".
std::optional<HostPort> SplitHostPort(std::string_view text) {
  std::string_view host;
  std::string_view rest;
  if (text.starts_with('[')) {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos)
      return std::nullopt;
    host = text.substr(1, close - 1);
    rest = text.substr(close + 1);
  } else {
    const std::size_t colon = text.find(':');
    host = text.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
  }
  if (!IsHostText(host))
    return std::nullopt;
  HostPort result{host};
  if (rest.empty())
    return result;
  if (rest[0] != ':')
    return std::nullopt;
  const std::optional<std::uint16_t> port = ParsePort(rest.substr(1));
  if (!port)
    return std::nullopt;
  result.port = *port;
  return result;
}

// The entry of a proxy list that the pages use: lists are separated by ";" or blanks, and an
// entry may name its scheme ("http=host:port", "https=…", "socks=…"). The http entry wins,
// else the first one.
std::string_view ProxyListEntry(std::string_view list) {
  std::string_view first;
  for (std::string_view rest = list; !rest.empty();) {
    const std::size_t end = rest.find_first_of("; \t\r\n");
    const std::string_view entry = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (entry.empty())
      continue;
    if (first.empty())
      first = entry;
    const std::size_t equals = entry.find('=');
    if (equals != std::string_view::npos && EqualsIgnoreCase(entry.substr(0, equals), "http"))
      return entry;
  }
  return first;
}

ProxyChoice Unusable() {
  ProxyChoice choice;
  choice.kind = ProxyChoice::Kind::kUnusable;
  return choice;
}

}  // namespace

std::uint32_t DownloadControlFlags(std::span<const bool, kPagePermissionCount> page,
                                   std::span<const bool, kGlobalDownloadFlagCount> globals) {
  // Images, sounds and videos are things to fetch; the rest are things to refuse.
  std::uint32_t flags = 0;
  if (page[0])
    flags |= kDlctlDlImages;
  if (page[1])
    flags |= kDlctlBgSounds;
  if (page[2])
    flags |= kDlctlVideos;
  if (!page[3])
    flags |= kDlctlNoJava;
  if (!page[4])
    flags |= kDlctlNoScripts;
  if (!page[5])
    flags |= kDlctlNoRunActiveXCtls;
  if (!page[6])
    flags |= kDlctlNoDlActiveXCtls;
  for (int i = 0; i < kGlobalDownloadFlagCount; ++i) {
    if (globals[static_cast<std::size_t>(i)])
      flags |= kGlobalBits[static_cast<std::size_t>(i)];
  }
  return flags;
}

ProxyChoice ChooseProxy(std::string_view text, bool useIEProxy, bool bypassLocal) {
  const std::string_view trimmed = TrimBlanksAndControls(text);
  ProxyChoice choice;
  if (trimmed.empty() || useIEProxy)
    return choice;
  if (trimmed == "0") {
    choice.kind = ProxyChoice::Kind::kDirect;
    return choice;
  }
  std::string_view address = ProxyListEntry(trimmed);
  if (const std::size_t equals = address.find('='); equals != std::string_view::npos) {
    if (equals == 0)
      return Unusable();
    choice.socks = EqualsIgnoreCase(address.substr(0, equals), "socks");
    address.remove_prefix(equals + 1);
  }
  if (EqualsIgnoreCase(address.substr(0, kHttpPrefix.size()), kHttpPrefix))
    address.remove_prefix(kHttpPrefix.size());
  const std::optional<HostPort> hostPort = SplitHostPort(address);
  if (!hostPort)
    return Unusable();
  choice.kind = ProxyChoice::Kind::kProxy;
  choice.host = std::string(hostPort->host);
  choice.port = hostPort->port;
  choice.bypassLocal = bypassLocal;
  return choice;
}

std::string SecurityName(int lockIcon, std::span<const std::string> names) {
  if (lockIcon < 0 || lockIcon > 6 || static_cast<std::size_t>(lockIcon) >= names.size())
    return {};
  return names[static_cast<std::size_t>(lockIcon)];
}

std::string HomePage(bool useStored, std::string_view stored, std::string_view startPage) {
  const std::string_view page = TrimBlanksAndControls(useStored ? stored : startPage);
  return std::string(page.empty() ? kBlankPage : page);
}

bool SchemeNeedsNetwork(std::string_view scheme) {
  for (const std::string_view network : {"http", "https", "ws", "wss", "ftp"}) {
    if (EqualsIgnoreCase(scheme, network))
      return true;
  }
  return false;
}

RequestDecision DecideRequest(std::uint32_t flags, bool offline, bool needsNetwork,
                              RequestKind kind) {
  if ((offline || (flags & kDlctlForceOffline) != 0) && needsNetwork)
    return {true, false};
  switch (kind) {
    case RequestKind::kImage:
      if ((flags & kDlctlDlImages) == 0)
        return {true, false};
      break;
    case RequestKind::kMedia:
      if ((flags & (kDlctlVideos | kDlctlBgSounds)) == 0)
        return {true, false};
      break;
    case RequestKind::kPluginContent:
      if ((flags & (kDlctlNoRunActiveXCtls | kDlctlNoJava)) != 0)
        return {true, false};
      break;
    case RequestKind::kOther:
      break;
  }
  return {false, (flags & kDlctlPragmaNoCache) != 0};
}

}  // namespace zelvora
