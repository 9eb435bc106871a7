#include "messaging/connectionstate.h"

#include <QNetworkInformation>

namespace orvane::messaging {

bool SystemConnectionState::knownOffline() const
{
    static const bool loaded = QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    const QNetworkInformation *information = QNetworkInformation::instance();
    return loaded && information
        && information->reachability() == QNetworkInformation::Reachability::Disconnected;
}

} // namespace orvane::messaging
