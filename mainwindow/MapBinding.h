#pragma once

struct MainContext;

// The map object and the map that it holds.
class IMapBinding
{
public:
    virtual ~IMapBinding() = default;
    // Makes the map object through the services' maker.
    virtual void fCreateMapObject() = 0;
    // Drops the map object (close-down).
    virtual void fReleaseMapObject() = 0;
    // A map is loaded into the map object.
    virtual bool fIsMapLoaded() const { return false; }
};

class MapBinding final : public IMapBinding
{
public:
    explicit MapBinding(MainContext& context) : m_c(context) {}
    void fCreateMapObject() override;
    void fReleaseMapObject() override;

private:
    MainContext& m_c;
};
