#include "standin_server/standin_console.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <utility>

namespace zembrock::standin {
namespace {

constexpr std::size_t kNameWidth = 15;
constexpr std::size_t kAddressWidth = 21;
constexpr std::size_t kGuidWidth = 32;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return lower;
}

std::string TrimLeft(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string() : std::string(text.substr(start));
}

std::string Trim(std::string_view text) {
    std::string trimmed = TrimLeft(text);
    const std::size_t end = trimmed.find_last_not_of(" \t\r\n");
    trimmed.erase(end == std::string::npos ? 0 : end + 1);
    return trimmed;
}

// The text cut or padded with blanks to exactly width characters.
std::string Fit(const std::string& text, std::size_t width, bool alignLeft) {
    if (text.size() >= width) {
        return alignLeft ? text.substr(0, width) : text.substr(text.size() - width);
    }
    const std::string padding(width - text.size(), ' ');
    return alignLeft ? text + padding : padding + text;
}

std::string Fit(int number, std::size_t width) {
    return Fit(std::to_string(number), width, false);
}

// The first word of a command's arguments, or the text between double quotes when they begin
// with one, and what follows it.
std::pair<std::string, std::string> SplitArgument(std::string_view arguments) {
    const std::string rest = TrimLeft(arguments);
    if (!rest.empty() && rest[0] == '"') {
        const std::size_t close = rest.find('"', 1);
        if (close == std::string::npos) {
            return {rest.substr(1), {}};
        }
        return {rest.substr(1, close - 1), TrimLeft(std::string_view(rest).substr(close + 1))};
    }
    const std::size_t blank = rest.find_first_of(" \t");
    if (blank == std::string::npos) {
        return {rest, {}};
    }
    return {rest.substr(0, blank), TrimLeft(std::string_view(rest).substr(blank + 1))};
}

// A value as a server variable takes it: one pair of enclosing double quotes is dropped.
std::string Unquote(std::string_view value) {
    std::string trimmed = Trim(value);
    if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"') {
        return trimmed.substr(1, trimmed.size() - 2);
    }
    return trimmed;
}

// Names compare without blanks (the control panel's table drops them), without colour codes
// and without regard to case.
std::string NameKey(std::string_view name, bool withoutColours) {
    std::string key;
    for (std::size_t k = 0; k < name.size(); ++k) {
        if (withoutColours && name[k] == '^' && k + 1 < name.size() &&
            std::isdigit(static_cast<unsigned char>(name[k + 1])) != 0) {
            ++k;
            continue;
        }
        if (name[k] != ' ') {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(name[k])));
        }
    }
    return key;
}

// A stable 32-digit hexadecimal identity from a name (FNV-1a, twice).
std::string GuidFor(const std::string& name) {
    std::string guid;
    for (std::uint64_t seed : {14695981039346656037ULL, 1099511628211ULL * 31U}) {
        std::uint64_t hash = seed;
        for (const char c : name) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
        std::array<char, 17> digits{};
        const auto result = std::to_chars(digits.data(), digits.data() + 16, hash, 16);
        guid += Fit(std::string(digits.data(), result.ptr), 16, false);
    }
    std::replace(guid.begin(), guid.end(), ' ', '0');
    return guid;
}

SimulatedPlayer GeneratedPlayer(int slot, const std::string& name) {
    SimulatedPlayer player;
    player.slot = slot;
    player.name = name;
    player.score = (slot * 370) % 2000;
    player.pingMs = 30 + (slot * 17) % 180;
    player.guid = GuidFor(name);
    player.lastMessageMs = (slot % 3) * 50;
    player.address = "192.0.2." + std::to_string(10 + slot) + ":28960";
    player.qport = 10000 + (slot * 997) % 50000;
    player.rate = 25000;
    return player;
}

}  // namespace

std::vector<SimulatedPlayer> MakePlayers(int count, const std::vector<std::string>& extraNames) {
    const std::array<SimulatedPlayer, 4> known{{
        {0, "Kowalski", 1250, 48, {}, 0, "198.51.100.23:28960", 31244, 25000},
        {0, "^1Red Baron^7", 980, 72, {}, 50, "203.0.113.54:27016", 5122, 25000},
        {0, "xX_Sn1per_Xx", 640, 35, {}, 0, "192.0.2.140:28960", 40961, 20000},
        {0, "Lena", 120, 131, {}, 100, "198.51.100.7:1024", 812, 8000},
    }};
    std::vector<SimulatedPlayer> players;
    for (int slot = 0; slot < count; ++slot) {
        const auto index = static_cast<std::size_t>(slot);
        SimulatedPlayer player = index < known.size()
                                     ? known.at(index)
                                     : GeneratedPlayer(slot, "Player" + std::to_string(slot + 1));
        player.slot = slot;
        player.guid = GuidFor(player.name);
        players.push_back(std::move(player));
    }
    for (const std::string& name : extraNames) {
        players.push_back(GeneratedPlayer(static_cast<int>(players.size()), name));
    }
    return players;
}

std::string StatusRow(const SimulatedPlayer& player) {
    return Fit(player.slot, 3) + " " + Fit(player.score, 5) + " " + Fit(player.pingMs, 4) + " " +
           Fit(player.guid, kGuidWidth, true) + " " + Fit(player.name, kNameWidth, true) + " " +
           Fit(player.lastMessageMs, 7) + " " + Fit(player.address, kAddressWidth, true) + " (active) " +
           std::to_string(player.qport) + " " + std::to_string(player.rate);
}

StandinConsole::StandinConsole(std::vector<SimulatedPlayer> players, std::string publicIp,
                               std::filesystem::path gameFolder, Sink sink)
    : m_players(std::move(players)),
      m_publicIp(std::move(publicIp)),
      m_gameFolder(std::move(gameFolder)),
      m_sink(std::move(sink)) {
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"sv_hostname", "Zembrock stand-in server"},
             {"sv_maxclients", "18"},
             {"sv_privateClients", "0"},
             {"sv_kickBanTime", "300"},
             {"sv_maprotation", ""},
             {"sv_floodProtect", "1"},
             {"g_gametype", "war"},
             {"mapname", "mp_dome"},
             {"net_port", "27016"},
         }) {
        m_variables[Lower(name)] = value;
    }
}

void StandinConsole::SetVariable(const std::string& name, const std::string& value) {
    m_variables[Lower(name)] = value;
}

std::string StandinConsole::Variable(const std::string& name) const {
    const auto found = m_variables.find(Lower(name));
    return found == m_variables.end() ? std::string() : found->second;
}

void StandinConsole::Print(const std::string& line) const {
    m_sink(line);
}

void StandinConsole::Start(std::uint32_t processId) {
    Print("Zembrock dedicated server (stand-in), process " + std::to_string(processId));
    for (const char* name :
         {"dedicated", "net_queryPort", "net_port", "net_authPort", "net_masterServerPort", "sv_config"}) {
        Print(std::string("  ") + name + " \"" + Variable(name) + "\"");
    }
    ExecConfig(Variable("sv_config"));
    Print("Network interface: " + NetworkInterface());
    Print("Hostname: " + Variable("sv_hostname"));
    Print("Server started, Public IP " + m_publicIp + ", port " + Variable("net_port"));
    Print(std::to_string(m_players.size()) + " clients connected; waiting for start_map_rotate");
}

std::string StandinConsole::NetworkInterface() const {
    // The control panel writes the chosen interface into the game's settings file just before
    // the start: "NetworkInterface=<index>" in section [Network], 255 for any.
    std::ifstream in(m_gameFolder / "pellagrix.ini", std::ios::binary);
    std::string line;
    while (in && std::getline(in, line)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && Lower(Trim(line.substr(0, equals))) == "networkinterface") {
            const std::string value = Trim(line.substr(equals + 1));
            return value == "255" ? value + " (any)" : value;
        }
    }
    return "not set";
}

void StandinConsole::ExecConfig(const std::string& fileName) {
    if (fileName.empty()) {
        return;
    }
    std::ifstream in(m_gameFolder / "players2" / fileName, std::ios::binary);
    if (!in) {
        Print("couldn't exec players2/" + fileName);
        return;
    }
    Print("execing players2/" + fileName);
    std::string line;
    while (std::getline(in, line)) {
        const auto [command, rest] = SplitArgument(line);
        const std::string lower = Lower(command);
        if (lower == "set" || lower == "seta" || lower == "sets") {
            const auto [name, value] = SplitArgument(rest);
            m_variables[Lower(name)] = Unquote(value);
        }
    }
}

void StandinConsole::ReportPublicAddress() const {
    Print("Sent heartbeat to the master server, Public IP " + m_publicIp + ", port " + Variable("net_port"));
}

void StandinConsole::LoadMap(const std::string& map, const std::string& mode) {
    m_variables["mapname"] = map;
    Print("------ Loading " + map + " (" + mode + ") ------");
    Print(std::to_string(m_players.size()) + " clients reconnected");
    ReportPublicAddress();
}

void StandinConsole::StartMapRotation() {
    const std::string rotation = Variable("sv_maprotation");
    if (rotation.empty()) {
        Print("sv_maprotation is empty; staying on " + Variable("mapname"));
        LoadMap(Variable("mapname"), Variable("g_gametype"));
        return;
    }
    Print("Starting map rotation \"" + rotation + "\"");
    std::ifstream in(m_gameFolder / "players2" / (rotation + ".dspl"), std::ios::binary);
    std::string line;
    while (in && std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line.rfind("//", 0) == 0) {
            continue;
        }
        const std::size_t comma = line.find(',');
        const std::size_t second = comma == std::string::npos ? comma : line.find(',', comma + 1);
        const std::string mode = comma == std::string::npos ? "" : line.substr(comma + 1, second - comma - 1);
        LoadMap(line.substr(0, comma), mode);
        return;
    }
    Print("Map rotation \"" + rotation + "\" not found in players2; loading mp_dome");
    LoadMap("mp_dome", "TDM_default");
}

void StandinConsole::PrintStatus() const {
    Print("map: " + Variable("mapname"));
    Print(Fit("num", 3, true) + " " + Fit("score", 5, true) + " " + Fit("ping", 4, true) + " " +
          Fit("guid", kGuidWidth, true) + " " + Fit("name", kNameWidth, true) + " " + "lastmsg" + " " +
          Fit("address", kAddressWidth, true) + " state    qport rate");
    Print(std::string(3, '-') + " " + std::string(5, '-') + " " + std::string(4, '-') + " " +
          std::string(kGuidWidth, '-') + " " + std::string(kNameWidth, '-') + " " + std::string(7, '-') +
          " " + std::string(kAddressWidth, '-') + " -------- ----- -----");
    for (const SimulatedPlayer& player : m_players) {
        Print(StatusRow(player));
    }
    Print("");
}

const SimulatedPlayer* StandinConsole::PlayerByName(const std::string& name) const {
    for (const bool withoutColours : {false, true}) {
        const std::string key = NameKey(name, withoutColours);
        const auto found = std::find_if(
            m_players.begin(), m_players.end(),
            [&](const SimulatedPlayer& player) { return NameKey(player.name, withoutColours) == key; });
        if (!key.empty() && found != m_players.end()) {
            return &*found;
        }
    }
    Print("Player " + name + " is not on the server");
    return nullptr;
}

const SimulatedPlayer* StandinConsole::PlayerBySlot(const std::string& slot) const {
    int number = -1;
    const auto [end, error] = std::from_chars(slot.data(), slot.data() + slot.size(), number);
    if (slot.empty() || error != std::errc{} || end != slot.data() + slot.size() || number < 0) {
        Print("Bad client slot: " + slot);
        return nullptr;
    }
    const auto found =
        std::find_if(m_players.begin(), m_players.end(),
                     [number](const SimulatedPlayer& player) { return player.slot == number; });
    if (found == m_players.end()) {
        Print("Client " + slot + " is not active");
        return nullptr;
    }
    return &*found;
}

void StandinConsole::Remove(const SimulatedPlayer* player, const std::string& verb,
                            const std::string& reason) {
    if (player == nullptr) {
        return;
    }
    Print(player->name + "^7 " + verb + (reason.empty() ? "" : " (" + reason + ")"));
    const int slot = player->slot;
    std::erase_if(m_players, [slot](const SimulatedPlayer& other) { return other.slot == slot; });
}

void StandinConsole::DumpUser(const SimulatedPlayer& player) const {
    Print("userinfo");
    Print("--------");
    Print(Fit("name", 20, true) + player.name);
    Print(Fit("guid", 20, true) + player.guid);
    Print(Fit("ip", 20, true) + player.address);
    Print(Fit("qport", 20, true) + std::to_string(player.qport));
    Print(Fit("rate", 20, true) + std::to_string(player.rate));
    Print(Fit("snaps", 20, true) + "20");
}

void StandinConsole::Execute(const std::string& line) {
    Print("]" + line);
    const auto [word, arguments] = SplitArgument(line);
    const std::string command = Lower(word);
    const auto [target, reason] = SplitArgument(arguments);
    const std::string banTime = Variable("sv_kickBanTime");

    if (command.empty()) {
        return;
    }
    if (command == "status") {
        PrintStatus();
    } else if (command == "kick" && Lower(target) == "all" && arguments.find('"') == std::string::npos) {
        while (!m_players.empty()) {
            Remove(&m_players.front(), "was kicked", reason);
        }
    } else if (command == "kick") {
        Remove(PlayerByName(target), "was kicked", reason);
    } else if (command == "kickclient" || command == "clientkick") {
        Remove(PlayerBySlot(target), "was kicked", reason);
    } else if (command == "tempban" || command == "tempbanuser") {
        Remove(PlayerByName(target), "was kicked and banned for " + banTime + " seconds", reason);
    } else if (command == "tempbanclient") {
        Remove(PlayerBySlot(target), "was kicked and banned for " + banTime + " seconds", reason);
    } else if (command == "ban" || command == "banuser" || command == "banclient") {
        const SimulatedPlayer* player = command == "banclient" ? PlayerBySlot(target) : PlayerByName(target);
        if (player != nullptr) {
            // The permanent bans live where the control panel's ban list editor reads them.
            std::ofstream(m_gameFolder / "main" / "permanent_ex.ban", std::ios::binary | std::ios::app)
                << player->guid << "=" << player->address.substr(0, player->address.find(':')) << " ("
                << player->name << ")\r\n";
        }
        Remove(player, "was banned permanently", {});
    } else if (command == "dumpuser") {
        if (const SimulatedPlayer* player = PlayerByName(target)) {
            DumpUser(*player);
        }
    } else if (command == "say") {
        Print("console: " + TrimLeft(arguments));
    } else if (command == "map_restart") {
        Print("Restarting map " + Variable("mapname"));
        LoadMap(Variable("mapname"), Variable("g_gametype"));
    } else if (command == "fast_restart") {
        Print("Fast restart of " + Variable("mapname") + ": round restarted, " +
              std::to_string(m_players.size()) + " clients kept");
    } else if (command == "map") {
        LoadMap(target.empty() ? Variable("mapname") : target, Variable("g_gametype"));
    } else if (command == "start_map_rotate") {
        StartMapRotation();
    } else if (command == "set" || command == "seta" || command == "sets") {
        if (target.empty()) {
            Print("usage: set <variable> <value>");
        } else {
            m_variables[Lower(target)] = Unquote(reason);
        }
    } else if (command == "hang") {
        Print("The server stops handling its console window (hang requested)");
        m_request = ConsoleRequest::Hang;
    } else if (command == "crash") {
        m_request = ConsoleRequest::Crash;
    } else if (command == "quit") {
        Print("Server shutting down");
        m_request = ConsoleRequest::Quit;
    } else if (m_variables.contains(command)) {
        // A variable's name alone shows it; followed by a value it sets it.
        if (TrimLeft(arguments).empty()) {
            Print("\"" + word + "\" is:\"" + m_variables[command] + "^7\"");
        } else {
            m_variables[command] = Unquote(arguments);
        }
    } else {
        Print("Unknown command \"" + word + "\"");
    }
}

ConsoleRequest StandinConsole::TakeRequest() {
    return std::exchange(m_request, ConsoleRequest::None);
}

}  // namespace zembrock::standin
