// NNetwork2_Unit: a neural network organised as a brain. Concept, sensory and
// motor zones each hold neurons placed at random in a 3D box; every neuron (and
// axon) registers with the process manager as a process. A brain is built from
// its configuration file, takes over the mouse events of its picture and draws
// every neuron as a small box at its perspective projection.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/Progress.h"
#include "common/My_Types_Unit.h"
#include "common/Sprites_Unit.h"
#include "platform/Picture.h"

// A set of integers, kept in the order they were added, without duplicates.
class TGroupSet {
  public:
    // Appends V unless the set holds it already.
    void Add(int32_t v);
    // The position of V from the start, or -1.
    int32_t IndexOf(int32_t v) const;
    bool Contains(int32_t v) const { return IndexOf(v) != -1; }

    std::vector<int32_t> fItems;
};

// Anything that the process manager knows. Construction takes the next value of
// ProcessCounter as Id and registers the process; destruction unregisters it, so
// that the manager never lists a process that is gone.
class TProcess {
  public:
    TProcess();
    ~TProcess();
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;

    int64_t Id = 0;
    bool fActive = false;
};

// The processes in registration order, not owned, each once.
class TProcessManager {
  public:
    // Appends P unless it is listed already.
    void Register(TProcess* p);
    void Unregister(TProcess* p);

    const std::list<TProcess*>& Processes() const { return fProcesses; }
    size_t Count() const { return fProcesses.size(); }

  private:
    std::list<TProcess*> fProcesses;
    std::unordered_map<TProcess*, std::list<TProcess*>::iterator> fPlaces;
};

class TBrainZone;

class TNeuron : public TProcess {
  public:
    TNeuron();

    void SetNeuron(const T3DPoint& position, int32_t group, double weight);

    T3DPoint fPosition;
    TBrainZone* fZone = nullptr;
    TGroupSet fGroups;
    double fWeight = 1.0;
};

class TAxon : public TProcess {
  public:
    TAxon(const T3DPoint& start, const T3DPoint& end) : fStart(start), fEnd(end) {}

    T3DPoint fStart;
    T3DPoint fEnd;
};

struct TBoxCorner {
    double X = 0;
    double Y = 0;
    double Z = 0;
};

class TBrainZone {
  public:
    // Number's zone with NeuronNumber neurons (none when it is 0 or less), each at
    // a uniform random place in the box [fMin, fMax).
    TBrainZone(int32_t neuronNumber, int32_t number);
    TBrainZone(const TBrainZone&) = delete;
    TBrainZone& operator=(const TBrainZone&) = delete;

    // Appends `count` neurons as the constructor places them, asking
    // `stopAsked` before each one; false when it answered true, with the neurons
    // placed so far kept.
    bool PlaceNeurons(int32_t count, const std::function<bool()>& stopAsked);

    TBoxCorner fMin{0, 0, 0};
    TBoxCorner fMax{100, 100, 100};
    int32_t fNumber = 0;
    std::vector<std::unique_ptr<TNeuron>> fNeurons;
    std::vector<std::unique_ptr<TAxon>> fAxons;
};

class TSens : public TBrainZone {
  public:
    using TBrainZone::TBrainZone;
};

class TMoteur : public TBrainZone {
  public:
    using TBrainZone::TBrainZone;
};

// The most zones (of the three kinds together) and neurons (in all zones) that a
// brain is built with: a million boxes already cover the page's picture many
// times over.
constexpr int32_t kMaxBrainZones = 10000;
constexpr int32_t kMaxBrainNeurons = 1000000;

// The neuron numbers of every zone of each kind, as a brain reads them from its
// configuration before building anything.
struct TBrainCounts {
    std::vector<int32_t> Concept;
    std::vector<int32_t> Sens;
    std::vector<int32_t> Motor;
};

class TIniManager;

// The three zone counts, then each zone's NeuronNumber. More zones than
// kMaxBrainZones or more neurons than kMaxBrainNeurons in all are refused with
// one error and give no zones. Zones whose section or NeuronNumber is missing
// count as empty and are reported together, once, naming the first. A negative
// count is refused with an error and counts as 0.
TBrainCounts ReadBrainCounts(const TIniManager& ini);

// The configuration that the page's brains are built from.
std::string BrainConfigFile();

// Counts the steps of a brain's work and passes them on to a TProgress.
class TWorkSteps;

class TBrain {
  public:
    // Builds the brain from `configFile` (section "Brain": ConceptZoneCount,
    // SensZoneCount, MotorZoneCount; sections Concept<i>, Sens<i>, Motor<i>:
    // NeuronNumber), takes over the picture's mouse events, makes World3D and
    // GDIManager for the picture, and draws the brain. A negative count is
    // refused with an error and builds nothing (no zones of that kind, or no
    // neurons in that zone). More than kMaxBrainZones zones or kMaxBrainNeurons
    // neurons are refused with an error before anything is built, and the brain
    // stays empty. Zones without their NeuronNumber are empty and reported in one
    // error. The picture is not owned and must outlive the brain's
    // construction.
    explicit TBrain(IPicture* picture, const std::string& configFile = BrainConfigFile());
    TBrain(const TBrain&) = delete;
    TBrain& operator=(const TBrain&) = delete;

    // The same build, telling `progress` the neurons placed and then drawn out of
    // twice the brain's neurons. When it asks for a stop, the build ends there
    // with the one trace line "Brain build interrupted" and gives no brain
    // (nullptr): the neurons placed so far are released, ProcessCounter,
    // World3D, GDIManager and the picture's mouse events are as they were before
    // the call, and the picture keeps the boxes drawn before the stop (repainted
    // once the drawing has begun). The configuration's own reports come first.
    static std::unique_ptr<TBrain> Build(IPicture* picture, TProgress& progress,
                                         const std::string& configFile = BrainConfigFile());

    // Sensory zones, then concept zones, then motor zones, each kind in order.
    std::vector<const TBrainZone*> ZonesInDrawingOrder() const;
    // The pixel of the picture where the neuron's projection lands: the centre
    // of its box.
    static TPoint NeuronPixel(const TNeuron& neuron);

    void DrawBrain();
    // The same drawing, telling `progress` the neurons and axons drawn out of
    // all. When it asks for a stop, the drawing ends there with the one trace
    // line "Brain drawing interrupted", the picture keeps what was drawn and is
    // repainted, and the answer is false.
    bool DrawBrain(TProgress& progress);
    void DrawZone(const TBrainZone& zone);
    void DrawNeuron(const TNeuron& neuron);
    void DrawAxon(const TAxon& axon);

    IPicture* fPicture;
    std::vector<std::unique_ptr<TBrainZone>> fConceptZones;
    std::vector<std::unique_ptr<TSens>> fSensZones;
    std::vector<std::unique_ptr<TMoteur>> fMotorZones;

  private:
    struct TUnbuilt {};
    TBrain(IPicture* picture, TUnbuilt) : fPicture(picture) {}
    // Builds and draws the brain; false when `progress` asked for a stop, with
    // the state restored as Build says and no trace line written yet.
    bool Make(const std::string& configFile, TProgress& progress);
    // The zones of `counts`, each filled with its neurons; false on a stop.
    bool MakeZones(const TBrainCounts& counts, TWorkSteps& steps);
    // The neurons and axons that DrawBrain draws.
    int64_t ItemsToDraw() const;
    // DrawZone of every zone in drawing order, one step per neuron and axon;
    // false on a stop.
    bool DrawItems(TWorkSteps& steps);
    bool DrawZone(const TBrainZone& zone, TWorkSteps& steps);
};

// Process-wide state: the counter behind the processes' Ids (reset by each new
// brain), the manager every process registers with (made by the first one and
// kept to the end of the process, so that a process released at any time finds
// it), the 3D world and the world-to-pixel mapping of the last brain's picture.
extern int64_t ProcessCounter;
extern TProcessManager* ProcessManager;
extern std::unique_ptr<T3DWorld> World3D;
extern std::unique_ptr<TGDIManager> GDIManager;
