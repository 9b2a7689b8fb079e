#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zembrock::standin {

// One simulated client of the stand-in server.
struct SimulatedPlayer {
    int slot = 0;
    std::string name;
    int score = 0;
    int pingMs = 0;
    std::string guid;  // 32 hex digits
    int lastMessageMs = 0;
    std::string address;  // "a.b.c.d:port", at most 20 characters
    int qport = 0;
    int rate = 0;
};

// The first `count` players of a fixed list of realistic clients (one with a blank and colour
// codes in its name), then generated ones; `extraNames` are added after them.
std::vector<SimulatedPlayer> MakePlayers(int count, const std::vector<std::string>& extraNames);

// One row of the status table: fixed columns (ID 1-3, score 5-9, ping 11-14, GUID 16-47,
// name 49-63, last message 65-71, address 73-93), then the client's state in parentheses and,
// right after it, the qport and the rate separated by one blank.
std::string StatusRow(const SimulatedPlayer& player);

// What the console asks of the process around it after a command.
enum class ConsoleRequest { None, Hang, Crash, Quit };

// The command interpreter of the stand-in dedicated server: it echoes each line with "]" in
// front and answers the commands the control panel sends (status, kicks and bans, say,
// restarts, server variables, the map rotation) with plausible output. Every line it prints
// goes to the sink, without its line end.
class StandinConsole {
public:
    using Sink = std::function<void(const std::string& line)>;

    StandinConsole(std::vector<SimulatedPlayer> players, std::string publicIp,
                   std::filesystem::path gameFolder, Sink sink);

    // Server variables as given on the command line (+set NAME VALUE).
    void SetVariable(const std::string& name, const std::string& value);
    // The start-up report: the process, the command-line variables, the configuration file, the
    // address.
    void Start(std::uint32_t processId);
    // Executes one input line.
    void Execute(const std::string& line);
    // The request of the last command, reset by reading it.
    ConsoleRequest TakeRequest();

private:
    void Print(const std::string& line) const;
    std::string Variable(const std::string& name) const;
    void ExecConfig(const std::string& fileName);
    std::string NetworkInterface() const;
    void LoadMap(const std::string& map, const std::string& mode);
    void ReportPublicAddress() const;
    void PrintStatus() const;
    void StartMapRotation();
    // The player a name or a client number names; nullptr (with the server's complaint
    // printed) when there is none.
    const SimulatedPlayer* PlayerByName(const std::string& name) const;
    const SimulatedPlayer* PlayerBySlot(const std::string& slot) const;
    void Remove(const SimulatedPlayer* player, const std::string& verb, const std::string& reason);
    void DumpUser(const SimulatedPlayer& player) const;

    std::vector<SimulatedPlayer> m_players;
    std::string m_publicIp;
    std::filesystem::path m_gameFolder;
    Sink m_sink;
    std::map<std::string, std::string> m_variables;  // names in lower case
    ConsoleRequest m_request = ConsoleRequest::None;
};

}  // namespace zembrock::standin
