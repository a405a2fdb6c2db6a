#include <QSerialPortInfo>
#include <algorithm>

#include "serial/port_list.h"

namespace vardelmo::serial {
namespace {

class QtPortList final : public PortList {
public:
    std::vector<PortEntry> ports() override {
        std::vector<PortEntry> entries;
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
            PortFacts facts;
            facts.name = info.portName().toStdString();
            facts.location = info.systemLocation().toStdString();
            facts.maker = info.manufacturer().trimmed().toStdString();
            facts.product = info.description().trimmed().toStdString();
            if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
                facts.vendorId = info.vendorIdentifier();
                facts.productId = info.productIdentifier();
            }
            entries.push_back(portEntry(facts));
        }
        std::sort(entries.begin(), entries.end(),
                  [](const PortEntry& a, const PortEntry& b) { return a.text < b.text; });
        return entries;
    }
};

}  // namespace

std::unique_ptr<PortList> makeSystemPortList() {
    return std::make_unique<QtPortList>();
}

}  // namespace vardelmo::serial
