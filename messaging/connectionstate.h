#pragma once

namespace orvane::messaging {

// Whether the system says for certain that it has no network connection. A system that cannot
// tell (no network manager, no backend) is not taken for one that is offline.
class ConnectionState
{
public:
    virtual ~ConnectionState() = default;
    virtual bool knownOffline() const = 0;
};

class SystemConnectionState final : public ConnectionState
{
public:
    bool knownOffline() const override;
};

} // namespace orvane::messaging
