#include "tests/support/serial_servers.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/fake_server.h"
#include "tests/support/patience.h"

namespace vardelmo::test_support {
namespace {

using namespace std::chrono_literals;

// A row of /proc/net/tcp: "sl local_address rem_address st ...", the address "0100007F:1F90".
bool listensIn(const std::string& table, std::uint16_t port) {
    std::istringstream rows(table);
    std::string row;
    std::getline(rows, row);  // the heading
    char wanted[16];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    while (std::getline(rows, row)) {
        std::istringstream fields(row);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (state == "0A" && local.size() > 5 && local.ends_with(wanted)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool waitForListening(std::uint16_t port) {
    // The kernel tells no one when a port starts listening: its table is read until it does.
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream file("/proc/net/tcp");
        std::stringstream table;
        table << file.rdbuf();
        if (listensIn(table.str(), port)) {
            return true;
        }
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

Ser2net::Ser2net(const std::string& device) {
    char pattern[] = "/tmp/vardelmo-ser2net-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        return;
    }
    directory_ = pattern;
    rawPort_ = refusedPort();
    rfc2217Port_ = refusedPort();
    const std::string config = directory_ + "/ser2net.yaml";
    std::ofstream(config) << "connection: &raw\n"
                             "    accepter: tcp,127.0.0.1,"
                          << rawPort_
                          << "\n"
                             "    connector: serialdev,"
                          << device
                          << ",9600n81,local\n"
                             "connection: &rfc2217\n"
                             "    accepter: telnet(rfc2217),tcp,127.0.0.1,"
                          << rfc2217Port_
                          << "\n"
                             "    connector: serialdev,"
                          << device << ",9600n81,local\n";
    process_ = std::make_unique<ChildProcess>(std::vector<std::string>{
        "ser2net", "-n", "-d", "-c", config, "-P", directory_ + "/ser2net.pid"});
    started_ = process_->started() && waitForListening(rawPort_) && waitForListening(rfc2217Port_);
}

Ser2net::~Ser2net() {
    process_.reset();
    if (!directory_.empty()) {
        std::filesystem::remove_all(directory_);
    }
}

PyserialServer::PyserialServer(const std::string& device) {
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/python3", VARDELMO_RFC2217_SERVER, device});
    if (!process_->started()) {
        return;
    }
    if (const auto line = process_->outputLine()) {
        port_ = static_cast<std::uint16_t>(std::atoi(line->c_str()));
    }
}

}  // namespace vardelmo::test_support
