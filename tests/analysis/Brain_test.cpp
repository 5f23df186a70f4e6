// The brain: zones, numbering and ids from the configuration, the process
// manager across brains, refused negative counts, and the drawing order. The
// boxes on the page's picture and its mouse events are tested on the page
// (tests/app/Network_pages_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "analysis/NNetwork2_Unit.h"
#include "base/File_Io.h"
#include "common/Ini_Manager_Unit.h"
#include "solvers/Progress_Stop.h"
#include "support/Global_Guards.h"
#include "support/Trace_Capture.h"

namespace {

const std::string kBrainData = std::string(KAVELIN_TEST_DATA) + "/brain/";

bool Listed(const TProcess* process) {
    const auto& processes = ProcessManager->Processes();
    return std::find(processes.begin(), processes.end(), process) != processes.end();
}

// A configuration file in the temporary folder: the three zone counts, then one
// section per entry of `zones` ("Concept0", 5).
std::string WriteConfig(const std::string& name, int64_t concepts, int64_t sens, int64_t motor,
                        const std::vector<std::pair<std::string, int64_t>>& zones) {
    std::string text = "[Brain]\nConceptZoneCount=" + std::to_string(concepts) +
                       "\nSensZoneCount=" + std::to_string(sens) +
                       "\nMotorZoneCount=" + std::to_string(motor) + "\n";
    for (const auto& [section, neurons] : zones)
        text += "[" + section + "]\nNeuronNumber=" + std::to_string(neurons) + "\n";
    const std::string file =
        (std::filesystem::temp_directory_path() / ("kavelin_brain_" + name + ".ini")).string();
    WriteFileAtomically(file, text);
    return file;
}

int BlackPixels(const TBitmap& bitmap) {
    return static_cast<int>(std::count(bitmap.Pixels().begin(), bitmap.Pixels().end(), clBlack));
}

// 20,000 neurons: enough for several reports while placing and while drawing.
std::string ManyNeurons() {
    return WriteConfig("many", 1, 1, 1, {{"Concept0", 9000}, {"Sens0", 6000}, {"Motor0", 5000}});
}
constexpr int64_t kManyNeurons = 20000;

// Zone number, Id and position of every neuron in drawing order.
std::vector<std::string> Neurons(const TBrain& brain) {
    std::vector<std::string> neurons;
    for (const TBrainZone* zone : brain.ZonesInDrawingOrder())
        for (const auto& n : zone->fNeurons)
            neurons.push_back(std::to_string(zone->fNumber) + " " + std::to_string(n->Id) + " " +
                              std::to_string(static_cast<double>(n->fPosition.X)) + " " +
                              std::to_string(static_cast<double>(n->fPosition.Y)) + " " +
                              std::to_string(static_cast<double>(n->fPosition.Z)));
    return neurons;
}

// A white 457 x 393 picture with the boxes of the first neurons of each brain in
// turn, in drawing order: (brain, how many of its neurons; -1 for all). World3D
// and GDIManager stay those of the last brain built before.
TBitmap Boxes(const std::vector<std::pair<const TBrain*, int64_t>>& brains) {
    std::unique_ptr<T3DWorld> world = std::move(World3D);
    std::unique_ptr<TGDIManager> gdi = std::move(GDIManager);
    TMemoryPicture picture(457, 393);
    {
        TBrain drawer(&picture, kBrainData + "empty_zone.ini");
        for (const auto& [brain, count] : brains) {
            int64_t drawn = 0;
            for (const TBrainZone* zone : brain->ZonesInDrawingOrder())
                for (const auto& neuron : zone->fNeurons)
                    if (count < 0 || drawn++ < count) drawer.DrawNeuron(*neuron);
        }
    }
    World3D = std::move(world);
    GDIManager = std::move(gdi);
    return picture.Bitmap();
}

}  // namespace

TEST(Brain, GroupSetKeepsEachValueOnceInOrder) {
    TGroupSet set;
    set.Add(3);
    set.Add(1);
    set.Add(3);
    EXPECT_EQ(set.fItems, (std::vector<int32_t>{3, 1}));
    EXPECT_EQ(set.IndexOf(1), 1);
    EXPECT_EQ(set.IndexOf(7), -1);
    EXPECT_FALSE(set.Contains(7));
}

TEST(Brain, TheExampleConfigurationNumbersZonesAndNeurons) {
    TTraceCapture capture;
    TMemoryPicture picture(457, 393);
    const TBrain brain(&picture, kBrainData + "example.ini");
    EXPECT_TRUE(capture.Lines().empty());
    ASSERT_EQ(brain.fConceptZones.size(), 2u);
    ASSERT_EQ(brain.fSensZones.size(), 1u);
    ASSERT_EQ(brain.fMotorZones.size(), 1u);

    // Ids run in building order (concept, sensory, motor); zones in drawing order.
    const std::vector<const TBrainZone*> zones = brain.ZonesInDrawingOrder();
    const int32_t numbers[] = {2, 0, 1, 3}, sizes[] = {8, 10, 5, 3}, firstIds[] = {16, 1, 11, 24};
    for (size_t z = 0; z < zones.size(); ++z) {
        EXPECT_EQ(zones[z]->fNumber, numbers[z]);
        ASSERT_EQ(zones[z]->fNeurons.size(), size_t(sizes[z]));
        for (size_t i = 0; i < zones[z]->fNeurons.size(); ++i) {
            const TNeuron& n = *zones[z]->fNeurons[i];
            EXPECT_EQ(n.Id, firstIds[z] + int64_t(i));
            EXPECT_EQ(n.fZone, zones[z]);
            EXPECT_EQ(n.fGroups.fItems, std::vector<int32_t>{numbers[z]});
            EXPECT_EQ(n.fWeight, 1.0);
            EXPECT_TRUE(n.fActive);
            for (TExtended c : {n.fPosition.X, n.fPosition.Y, n.fPosition.Z}) {
                EXPECT_GE(c, 0);
                EXPECT_LT(c, 100);
            }
        }
    }
    EXPECT_EQ(ProcessCounter, 26);
    EXPECT_TRUE(zones[0]->fAxons.empty());
}

TEST(Brain, TwoBrainsNumberFromOneAndTheManagerListsBoth) {
    TMemoryPicture picture(457, 393);
    auto first = std::make_unique<TBrain>(&picture, kBrainData + "example.ini");
    const size_t before = ProcessManager->Count();
    const TBrain second(&picture, kBrainData + "example.ini");
    EXPECT_EQ(ProcessManager->Count(), before + 26);
    EXPECT_EQ(second.fConceptZones[0]->fNeurons[0]->Id, 1);
    EXPECT_EQ(first->fConceptZones[0]->fNeurons[0]->Id, 1);
    EXPECT_TRUE(Listed(first->fMotorZones[0]->fNeurons[2].get()));
    EXPECT_TRUE(Listed(second.fMotorZones[0]->fNeurons[2].get()));
    EXPECT_EQ(ProcessManager->Processes().back(), second.fMotorZones[0]->fNeurons[2].get());

    // A brain that goes takes its processes out of the list.
    const TNeuron* gone = first->fSensZones[0]->fNeurons[0].get();
    first.reset();
    EXPECT_EQ(ProcessManager->Count(), before);
    EXPECT_FALSE(Listed(gone));
}

TEST(Brain, NegativeCountsAreRefusedAndBuildNothing) {
    TTraceCapture capture;
    TMemoryPicture picture(40, 30);
    const TBrain brain(&picture, kBrainData + "negative.ini");
    EXPECT_EQ(capture.Boxes(),
              (std::vector<std::string>{
                  "*ERROR*NNetwork2_Unit:TBrain.Create:Nombre n\xE9gatif refus\xE9 : [Brain] "
                  "ConceptZoneCount = -2",
                  "*ERROR*NNetwork2_Unit:TBrain.Create:Nombre n\xE9gatif refus\xE9 : [Sens0] "
                  "NeuronNumber = -5"}));
    EXPECT_TRUE(brain.fConceptZones.empty());
    // Zones are numbered as if the refused kind were empty.
    ASSERT_EQ(brain.fSensZones.size(), 2u);
    EXPECT_EQ(brain.fSensZones[0]->fNumber, 0);
    EXPECT_TRUE(brain.fSensZones[0]->fNeurons.empty());
    EXPECT_EQ(brain.fSensZones[1]->fNeurons.size(), 4u);
    EXPECT_EQ(brain.fMotorZones[0]->fNumber, 2);
    EXPECT_EQ(brain.fSensZones[1]->fNeurons[0]->Id, 1);
}

TEST(Brain, ZoneCountsAreBoundedAndMissingZonesReportedOnce) {
    TTraceCapture capture;
    TMemoryPicture picture(40, 30);
    // Just inside: every zone lacks its section; one error names the first.
    const TBrain inside(&picture, WriteConfig("zones_inside", 5000, 4999, 1, {{"Sens3", 2}}));
    EXPECT_EQ(capture.Boxes(), std::vector<std::string>{
                                   "*ERROR*NNetwork2_Unit:TBrain.Create:NeuronNumber absent "
                                   "de [Concept0] et de 9998 autres zones, zones sans neurone"});
    EXPECT_EQ(inside.ZonesInDrawingOrder().size(), 10000u);
    EXPECT_EQ(inside.fSensZones[3]->fNeurons.size(), 2u);
    EXPECT_EQ(inside.fMotorZones[0]->fNumber, 9999);

    capture.Reset();
    const TBrain beyond(&picture, WriteConfig("zones_beyond", 5000, 5000, 1, {}));
    EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*NNetwork2_Unit:TBrain.Create:Trop "
                                                        "de zones : 10001 (au plus 10000), "
                                                        "cerveau vide"});
    EXPECT_TRUE(beyond.ZonesInDrawingOrder().empty());

    // Far beyond: refused at once, without a message per zone.
    capture.Reset();
    const TBrain huge(&picture, WriteConfig("zones_huge", 2000000000, 0, 0, {}));
    EXPECT_EQ(capture.Boxes().size(), 1u);
    EXPECT_TRUE(huge.ZonesInDrawingOrder().empty());
}

TEST(Brain, TheNeuronsOfAllZonesAreBoundedBeforeAnyIsBuilt) {
    TTraceCapture capture;
    TMemoryPicture picture(40, 30);
    // Just inside: accepted as read (building a million neurons is left to the
    // command-line measurements).
    const TBrainCounts inside = ReadBrainCounts(TIniManager(
        WriteConfig("neurons_inside", 1, 1, 0, {{"Concept0", 600000}, {"Sens0", 400000}})));
    EXPECT_TRUE(capture.Boxes().empty());
    EXPECT_EQ(inside.Concept, std::vector<int32_t>{600000});
    EXPECT_EQ(inside.Sens, std::vector<int32_t>{400000});

    const TBrain beyond(&picture, WriteConfig("neurons_beyond", 1, 1, 0,
                                              {{"Concept0", 600000}, {"Sens0", 400001}}));
    EXPECT_EQ(capture.Boxes(),
              std::vector<std::string>{"*ERROR*NNetwork2_Unit:TBrain.Create:Trop de neurones : "
                                       "1000001 en tout (au plus 1000000), cerveau vide"});
    EXPECT_TRUE(beyond.ZonesInDrawingOrder().empty());

    capture.Reset();
    const TBrain huge(&picture, WriteConfig("neurons_huge", 1, 0, 0, {{"Concept0", 2000000000}}));
    EXPECT_EQ(capture.Boxes().size(), 1u);
}

TEST(Brain, AMissingFileOrAnEmptyZoneDrawsNothing) {
    TTraceCapture capture;
    TMemoryPicture picture(457, 393);
    const TBrain missing(&picture, kBrainData + "no_such.ini");
    EXPECT_TRUE(capture.HasLine("Ini_Manager_Unit:LoadFromFile:Bad filename : " + kBrainData +
                                "no_such.ini"));
    EXPECT_TRUE(missing.ZonesInDrawingOrder().empty());

    const TBrain empty(&picture, kBrainData + "empty_zone.ini");
    ASSERT_EQ(empty.fConceptZones.size(), 1u);
    EXPECT_TRUE(empty.fConceptZones[0]->fNeurons.empty());
    EXPECT_EQ(BlackPixels(picture.Bitmap()), 0);
    EXPECT_EQ(picture.fRepaints, 2);
}

// With the camera turned to face +Z, a point (x, 0, 100) projects to (x / 2, 0):
// simple enough to place boxes side by side and axons end to end.
TEST(Brain, ZonesDrawInOrderSensoryConceptMotorThenAxons) {
    TMemoryPicture picture(457, 393);
    TBrain brain(&picture, kBrainData + "empty_zone.ini");
    World3D->fCameraAngles = T3DPoint{0, 0, 0};
    auto place = [](TBrainZone& zone, TExtended column) {
        // Pixel column k of the 457 pixels is projected X 200k / 457 - 100.
        auto neuron = std::make_unique<TNeuron>();
        neuron->SetNeuron(T3DPoint{2 * (200 * column / 457 - 100), 0, 100}, zone.fNumber, 1.0);
        zone.fNeurons.push_back(std::move(neuron));
    };
    brain.fSensZones.push_back(std::make_unique<TSens>(0, 1));
    brain.fMotorZones.push_back(std::make_unique<TMoteur>(0, 2));
    place(*brain.fMotorZones[0], 104);
    place(*brain.fConceptZones[0], 102);
    place(*brain.fSensZones[0], 100);
    brain.fSensZones[0]->fAxons.push_back(
        std::make_unique<TAxon>(T3DPoint{2 * (200 * 300.0L / 457 - 100), 0, 100},
                                T3DPoint{2 * (200 * 310.0L / 457 - 100), 0, 100}));
    ASSERT_EQ(TBrain::NeuronPixel(*brain.fSensZones[0]->fNeurons[0]), (TPoint{100, 196}));
    brain.DrawBrain();

    const TBitmap& b = picture.Bitmap();
    // Each later box's inside covers the right edge of the one before.
    EXPECT_EQ(b.Pixel(98, 196), clBlack);   // sensory outline, left
    EXPECT_EQ(b.Pixel(101, 196), clWhite);  // sensory right edge under the concept's inside
    EXPECT_EQ(b.Pixel(103, 196), clWhite);  // concept right edge under the motor's inside
    EXPECT_EQ(b.Pixel(105, 196), clBlack);  // motor outline, right
    // The axon runs from its start up to, not including, its end.
    EXPECT_EQ(b.Pixel(300, 196), clBlack);
    EXPECT_EQ(b.Pixel(309, 196), clBlack);
    EXPECT_EQ(b.Pixel(310, 196), clWhite);
}

// ---- progress and a stop on request ----

TEST(BrainProgress, ABuildNeverStoppedIsTheBrainOfTheConstructor) {
    const std::string config = ManyNeurons();
    TMemoryPicture plain(457, 393), watched(457, 393);
    TTraceCapture trace;
    TSeedGuard seed(8);
    const TBrain reference(&plain, config);
    TStopAtCall never(0);
    const std::unique_ptr<TBrain> brain = TBrain::Build(&watched, never, config);
    ASSERT_NE(brain, nullptr);
    EXPECT_EQ(Neurons(*brain), Neurons(reference));
    EXPECT_TRUE(watched.Bitmap().SamePixels(plain.Bitmap()));
    EXPECT_EQ(watched.fRepaints, 1);
    EXPECT_TRUE(trace.Lines().empty());
    EXPECT_EQ(ProcessCounter, kManyNeurons);

    // Neurons placed, then drawn, of twice the neurons, from the start on.
    ASSERT_GE(never.fReports.size(), 4u);
    EXPECT_EQ(never.fReports.front(), std::make_pair(int64_t{0}, 2 * kManyNeurons));
    for (size_t k = 1; k < never.fReports.size(); ++k) {
        EXPECT_GT(never.fReports[k].first, never.fReports[k - 1].first);
        EXPECT_LT(never.fReports[k].first, 2 * kManyNeurons);
        EXPECT_EQ(never.fReports[k].second, 2 * kManyNeurons);
    }
    EXPECT_GT(never.fReports.back().first, kManyNeurons);

    // A brain without neurons has nothing to report, and so nothing to stop.
    TStopAtCall first(1);
    EXPECT_NE(TBrain::Build(&watched, first, kBrainData + "empty_zone.ini"), nullptr);
    EXPECT_TRUE(first.fReports.empty());
}

TEST(BrainProgress, AStoppedBuildGivesNoBrainAndLeavesTheStateAsItWas) {
    const std::string config = ManyNeurons();
    TSeedGuard seed(8);
    TMemoryPicture full(457, 393);
    TStopAtCall never(0);
    const std::unique_ptr<TBrain> whole = TBrain::Build(&full, never, config);
    // The first report of the drawing.
    const auto drawingStarts =
        std::find_if(never.fReports.begin(), never.fReports.end(),
                     [](const auto& report) { return report.first >= kManyNeurons; });
    ASSERT_NE(drawingStarts, never.fReports.end());
    ASSERT_NE(drawingStarts + 1, never.fReports.end());

    // Stops while placing the neurons, at the first report and at a later one, then
    // after some boxes are drawn.
    const int64_t whileDrawing = (drawingStarts - never.fReports.begin()) + 2;
    int stopsWhileDrawing = 0;
    for (const int64_t stopAt : {int64_t{1}, int64_t{3}, whileDrawing}) {
        TMemoryPicture picture(457, 393);
        const TBrain earlier(&picture, kBrainData + "example.ini");
        int clicks = 0;
        picture.OnClick = [&clicks] { ++clicks; };
        const T3DWorld* world = World3D.get();
        const TGDIManager* gdi = GDIManager.get();
        const int64_t counter = ProcessCounter;
        const size_t listed = ProcessManager->Count();
        const TBitmap before = picture.Bitmap();
        const int repaints = picture.fRepaints;

        TTraceCapture trace;
        TStopAtCall progress(stopAt);
        EXPECT_EQ(TBrain::Build(&picture, progress, config), nullptr);
        ASSERT_EQ(static_cast<int64_t>(progress.fReports.size()), stopAt);
        EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Brain build interrupted"});
        EXPECT_EQ(World3D.get(), world);
        EXPECT_EQ(GDIManager.get(), gdi);
        EXPECT_EQ(ProcessCounter, counter);
        EXPECT_EQ(ProcessManager->Count(), listed);
        picture.FireClick();
        EXPECT_EQ(clicks, 1);
        picture.FireMouseMove(0, 1, 1);
        EXPECT_EQ(trace.Lines().back(), "on mouse move");  // the earlier brain's

        const int64_t drawn = progress.fReports.back().first - kManyNeurons;
        if (drawn < 0) {
            EXPECT_TRUE(picture.Bitmap().SamePixels(before)) << "stop at call " << stopAt;
            EXPECT_EQ(picture.fRepaints, repaints);
        } else {
            // The boxes drawn so far, over the earlier brain's, and shown; fewer
            // than the whole brain's.
            EXPECT_TRUE(picture.Bitmap().SamePixels(Boxes({{&earlier, -1}, {whole.get(), drawn}})));
            EXPECT_FALSE(Boxes({{whole.get(), drawn}}).SamePixels(full.Bitmap()));
            EXPECT_EQ(picture.fRepaints, repaints + 1);
            ++stopsWhileDrawing;
        }
    }
    EXPECT_EQ(stopsWhileDrawing, 1);
}

TEST(BrainProgress, AStoppedDrawingKeepsWhatItDrewAndTheBrain) {
    TSeedGuard seed(9);
    TMemoryPicture picture(457, 393);
    const std::unique_ptr<TBrain> brain = TBrain::Build(&picture, NoProgress(), ManyNeurons());
    ASSERT_NE(brain, nullptr);
    const TBitmap whole = picture.Bitmap();
    TTraceCapture trace;

    picture.Bitmap().Fill(clWhite);
    TStopAtCall progress(2);
    EXPECT_FALSE(brain->DrawBrain(progress));
    ASSERT_EQ(progress.fReports.size(), 2u);
    EXPECT_EQ(progress.fReports[0], std::make_pair(int64_t{0}, kManyNeurons));
    const int64_t drawn = progress.fReports[1].first;
    EXPECT_GT(drawn, 0);
    EXPECT_TRUE(picture.Bitmap().SamePixels(Boxes({{brain.get(), drawn}})));
    EXPECT_FALSE(picture.Bitmap().SamePixels(whole));
    EXPECT_EQ(picture.fRepaints, 2);
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{"Brain drawing interrupted"});
    EXPECT_EQ(Neurons(*brain).size(), size_t(kManyNeurons));

    // Never stopped, the whole drawing and no line.
    picture.Bitmap().Fill(clWhite);
    TStopAtCall never(0);
    EXPECT_TRUE(brain->DrawBrain(never));
    EXPECT_TRUE(picture.Bitmap().SamePixels(whole));
    EXPECT_EQ(trace.Lines().size(), 1u);
    EXPECT_EQ(never.fReports.back().second, kManyNeurons);
}
