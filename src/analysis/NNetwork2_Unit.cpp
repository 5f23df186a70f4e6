#include "analysis/NNetwork2_Unit.h"

#include <algorithm>

#include "base/Real_Format.h"
#include "common/Ini_Manager_Unit.h"
#include "common/Random_Source.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Paths.h"

int64_t ProcessCounter = 0;
TProcessManager* ProcessManager = nullptr;
std::unique_ptr<T3DWorld> World3D;
std::unique_ptr<TGDIManager> GDIManager;

// ---- sets and processes ----

void TGroupSet::Add(int32_t v) {
    if (!Contains(v)) fItems.push_back(v);
}

int32_t TGroupSet::IndexOf(int32_t v) const {
    const auto it = std::find(fItems.begin(), fItems.end(), v);
    return it == fItems.end() ? -1 : static_cast<int32_t>(it - fItems.begin());
}

TProcess::TProcess() {
    ++ProcessCounter;
    Id = ProcessCounter;
    if (!ProcessManager) ProcessManager = new TProcessManager;
    ProcessManager->Register(this);
}

TProcess::~TProcess() {
    ProcessManager->Unregister(this);
}

// Brains of thousands of neurons register one after the other: the map keeps
// both the membership test and the removal constant in time.
void TProcessManager::Register(TProcess* p) {
    if (fPlaces.count(p)) return;
    fPlaces.emplace(p, fProcesses.insert(fProcesses.end(), p));
}

void TProcessManager::Unregister(TProcess* p) {
    const auto place = fPlaces.find(p);
    if (place == fPlaces.end()) return;
    fProcesses.erase(place->second);
    fPlaces.erase(place);
}

TNeuron::TNeuron() {
    fActive = true;
}

void TNeuron::SetNeuron(const T3DPoint& position, int32_t group, double weight) {
    fPosition = position;
    fActive = true;
    fGroups.Add(group);
    fWeight = weight;
}

// ---- zones ----

TBrainZone::TBrainZone(int32_t neuronNumber, int32_t number) : fNumber(number) {
    PlaceNeurons(neuronNumber, [] { return false; });
}

bool TBrainZone::PlaceNeurons(int32_t count, const std::function<bool()>& stopAsked) {
    fNeurons.reserve(fNeurons.size() + static_cast<size_t>(std::max(count, 0)));
    for (int32_t i = 0; i < count; ++i) {
        if (stopAsked()) return false;
        // Three draws in the order X, Y, Z, each scaled to the box.
        const TExtended r1 = RandomReal();
        const TExtended r2 = RandomReal();
        const TExtended r3 = RandomReal();
        T3DPoint position;
        position.X = r1 * (TExtended(fMax.X) - fMin.X) + fMin.X;
        position.Y = r2 * (TExtended(fMax.Y) - fMin.Y) + fMin.Y;
        position.Z = r3 * (TExtended(fMax.Z) - fMin.Z) + fMin.Z;
        auto neuron = std::make_unique<TNeuron>();
        neuron->SetNeuron(position, fNumber, 1.0);
        neuron->fZone = this;
        fNeurons.push_back(std::move(neuron));
    }
    return true;
}

// ---- the brain ----

namespace {

// A count read from the configuration; a negative one is refused and counts as 0.
int32_t ReadCount(const TIniManager& ini, const std::string& section, const std::string& key) {
    const int32_t count = ini.GetInt(section, key);
    if (count >= 0) return count;
    Messenger.Error("NNetwork2_Unit:TBrain.Create:Nombre n\xE9gatif refus\xE9 : [" + section +
                    "] " + key + " = " + IntToStr(count));
    return 0;
}

const char kCreate[] = "NNetwork2_Unit:TBrain.Create:";

// The world area that T3DWorld.ToPixel maps onto the picture, so that axons and
// neurons land on the same pixels.
void VisibleWorldArea(TRealRect& area) {
    area.Left = -100;
    area.Right = 100;
    area.Top = 0.5;
    area.Bottom = -0.5;
}

}  // namespace

// A neuron takes about half a microsecond to place or to draw: reporting every
// 4096 steps reaches the caller every two milliseconds or so, from the first step.
class TWorkSteps {
  public:
    TWorkSteps(TProgress& progress, int64_t total) : fProgress(progress), fTotal(total) {}

    // Counts one step; true instead when a stop is asked before it.
    bool StopAsked() {
        if (fDone % kGrain == 0 && fProgress.Report(fDone, fTotal)) return true;
        ++fDone;
        return false;
    }
    void SetTotal(int64_t total) { fTotal = total; }

  private:
    static constexpr int64_t kGrain = 4096;
    TProgress& fProgress;
    int64_t fDone = 0;
    int64_t fTotal;
};

TBrainCounts ReadBrainCounts(const TIniManager& ini) {
    const int32_t conceptCount = ReadCount(ini, "Brain", "ConceptZoneCount");
    const int32_t sensCount = ReadCount(ini, "Brain", "SensZoneCount");
    const int32_t motorCount = ReadCount(ini, "Brain", "MotorZoneCount");
    const int64_t zones = int64_t{conceptCount} + sensCount + motorCount;
    if (zones > kMaxBrainZones) {
        Messenger.Error(std::string(kCreate) + "Trop de zones : " + IntToStr(zones) + " (au plus " +
                        IntToStr(kMaxBrainZones) + "), cerveau vide");
        return {};
    }
    TBrainCounts counts;
    int64_t neurons = 0;
    int32_t missing = 0;
    std::string firstMissing;
    const auto readZones = [&](const std::string& kind, int32_t count,
                               std::vector<int32_t>& numbers) {
        for (int32_t i = 0; i < count; ++i) {
            const std::string section = kind + IntToStr(i);
            int32_t n = 0;
            if (ini.KeyExists(section, "NeuronNumber")) {
                n = ReadCount(ini, section, "NeuronNumber");
            } else if (missing++ == 0) {
                firstMissing = section;
            }
            numbers.push_back(n);
            neurons += n;
        }
    };
    readZones("Concept", conceptCount, counts.Concept);
    readZones("Sens", sensCount, counts.Sens);
    readZones("Motor", motorCount, counts.Motor);
    if (missing > 0)
        Messenger.Error(std::string(kCreate) + "NeuronNumber absent de [" + firstMissing + "]" +
                        (missing > 1 ? " et de " + IntToStr(missing - 1) + " autres zones" : "") +
                        ", zones sans neurone");
    if (neurons > kMaxBrainNeurons) {
        Messenger.Error(std::string(kCreate) + "Trop de neurones : " + IntToStr(neurons) +
                        " en tout (au plus " + IntToStr(kMaxBrainNeurons) + "), cerveau vide");
        return {};
    }
    return counts;
}

std::string BrainConfigFile() {
    return LocalPath(".\\Data\\NNetWork2\\Brain.ini");
}

TBrain::TBrain(IPicture* picture, const std::string& configFile) : fPicture(picture) {
    Make(configFile, NoProgress());
}

std::unique_ptr<TBrain> TBrain::Build(IPicture* picture, TProgress& progress,
                                      const std::string& configFile) {
    std::unique_ptr<TBrain> brain(new TBrain(picture, TUnbuilt{}));
    if (brain->Make(configFile, progress)) return brain;
    Messenger.Send("Brain build interrupted");
    return nullptr;
}

bool TBrain::Make(const std::string& configFile, TProgress& progress) {
    IPicture* picture = fPicture;
    // What a stop gives back: the picture's events and the unit's state.
    auto mouseDown = picture->OnMouseDown;
    auto mouseMove = picture->OnMouseMove;
    auto mouseUp = picture->OnMouseUp;
    auto click = picture->OnClick;
    std::unique_ptr<T3DWorld> world = std::move(World3D);
    std::unique_ptr<TGDIManager> gdi = std::move(GDIManager);
    const int64_t counter = ProcessCounter;

    picture->OnMouseDown = [](TMouseButton, TShiftState, int32_t, int32_t) {
        Messenger.Send("on mouse down");
    };
    picture->OnMouseMove = [](TShiftState, int32_t, int32_t) { Messenger.Send("on mouse move"); };
    picture->OnMouseUp = [](TMouseButton, TShiftState, int32_t, int32_t) {
        Messenger.Send("mouse up");
    };
    picture->OnClick = [] { Messenger.Send("clic"); };

    World3D = std::make_unique<T3DWorld>(picture);
    GDIManager =
        std::make_unique<TGDIManager>(VisibleWorldArea, picture->Width(), picture->Height());
    ProcessCounter = 0;

    const TIniManager ini(configFile);
    const TBrainCounts counts = ReadBrainCounts(ini);

    Randomize();
    int64_t neurons = 0;
    for (const std::vector<int32_t>* kind : {&counts.Concept, &counts.Sens, &counts.Motor})
        for (const int32_t n : *kind) neurons += n;
    TWorkSteps steps(progress, 2 * neurons);
    bool drawing = false;
    if (MakeZones(counts, steps)) {
        drawing = true;
        steps.SetTotal(neurons + ItemsToDraw());
        if (DrawItems(steps)) {
            fPicture->Repaint();
            return true;
        }
    }

    fConceptZones.clear();
    fSensZones.clear();
    fMotorZones.clear();
    ProcessCounter = counter;
    World3D = std::move(world);
    GDIManager = std::move(gdi);
    picture->OnMouseDown = std::move(mouseDown);
    picture->OnMouseMove = std::move(mouseMove);
    picture->OnMouseUp = std::move(mouseUp);
    picture->OnClick = std::move(click);
    if (drawing) picture->Repaint();
    return false;
}

bool TBrain::MakeZones(const TBrainCounts& counts, TWorkSteps& steps) {
    const auto stopAsked = [&steps] { return steps.StopAsked(); };
    const int32_t conceptCount = static_cast<int32_t>(counts.Concept.size());
    const int32_t sensCount = static_cast<int32_t>(counts.Sens.size());
    for (int32_t i = 0; i < conceptCount; ++i) {
        fConceptZones.push_back(std::make_unique<TBrainZone>(0, i));
        if (!fConceptZones.back()->PlaceNeurons(counts.Concept[i], stopAsked)) return false;
    }
    for (int32_t i = 0; i < sensCount; ++i) {
        fSensZones.push_back(std::make_unique<TSens>(0, conceptCount + i));
        if (!fSensZones.back()->PlaceNeurons(counts.Sens[i], stopAsked)) return false;
    }
    for (size_t i = 0; i < counts.Motor.size(); ++i) {
        fMotorZones.push_back(
            std::make_unique<TMoteur>(0, conceptCount + sensCount + static_cast<int32_t>(i)));
        if (!fMotorZones.back()->PlaceNeurons(counts.Motor[i], stopAsked)) return false;
    }
    return true;
}

std::vector<const TBrainZone*> TBrain::ZonesInDrawingOrder() const {
    std::vector<const TBrainZone*> zones;
    for (const auto& zone : fSensZones) zones.push_back(zone.get());
    for (const auto& zone : fConceptZones) zones.push_back(zone.get());
    for (const auto& zone : fMotorZones) zones.push_back(zone.get());
    return zones;
}

TPoint TBrain::NeuronPixel(const TNeuron& neuron) {
    return World3D->ToPixel(Project3D(neuron.fPosition, World3D->fCameraPosition,
                                      World3D->fCameraAngles, World3D->fFocal));
}

void TBrain::DrawBrain() {
    DrawBrain(NoProgress());
}

bool TBrain::DrawBrain(TProgress& progress) {
    TWorkSteps steps(progress, ItemsToDraw());
    const bool whole = DrawItems(steps);
    fPicture->Repaint();
    if (!whole) Messenger.Send("Brain drawing interrupted");
    return whole;
}

int64_t TBrain::ItemsToDraw() const {
    int64_t items = 0;
    for (const TBrainZone* zone : ZonesInDrawingOrder())
        items += static_cast<int64_t>(zone->fNeurons.size() + zone->fAxons.size());
    return items;
}

bool TBrain::DrawItems(TWorkSteps& steps) {
    for (const TBrainZone* zone : ZonesInDrawingOrder())
        if (!DrawZone(*zone, steps)) return false;
    return true;
}

void TBrain::DrawZone(const TBrainZone& zone) {
    TWorkSteps steps(NoProgress(), 0);
    DrawZone(zone, steps);
}

// One step before each neuron and each axon.
bool TBrain::DrawZone(const TBrainZone& zone, TWorkSteps& steps) {
    for (const auto& neuron : zone.fNeurons) {
        if (steps.StopAsked()) return false;
        DrawNeuron(*neuron);
    }
    for (const auto& axon : zone.fAxons) {
        if (steps.StopAsked()) return false;
        DrawAxon(*axon);
    }
    return true;
}

// A box of the canvas's pen and brush around the projection; the canvas leaves
// out its right and bottom edges.
void TBrain::DrawNeuron(const TNeuron& neuron) {
    const TPoint p = NeuronPixel(neuron);
    fPicture->Canvas().Rectangle(p.X - 2, p.Y - 2, p.X + 2, p.Y + 2);
}

void TBrain::DrawAxon(const TAxon& axon) {
    const T2DPoint start =
        Project3D(axon.fStart, World3D->fCameraPosition, World3D->fCameraAngles, World3D->fFocal);
    const T2DPoint end =
        Project3D(axon.fEnd, World3D->fCameraPosition, World3D->fCameraAngles, World3D->fFocal);
    const TPoint a = GDIManager->Coords3DToMousePos(start.X, start.Y);
    const TPoint b = GDIManager->Coords3DToMousePos(end.X, end.Y);
    TCanvas& canvas = fPicture->Canvas();
    canvas.MoveTo(a.X, a.Y);
    canvas.LineTo(b.X, b.Y);
}
