#include "FormatTestSupport.h"

#include "document/FileReport.h"
#include "formats/FileAccess.h"
#include "formats/MapTextReader.h"
#include "formats/MapTextWriter.h"
#include "formats/RmfReader.h"
#include "formats/RmfWriter.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"

#include <optional>
#include <tuple>

namespace {

using Kind = FileDiagnosticKind;

class FileDiagnosticsTest : public FormatTest {};

// Kind, line and object id of each diagnostic, in order.
std::vector<std::tuple<Kind, int, std::uint32_t>> Summary(const FileResult& result) {
    std::vector<std::tuple<Kind, int, std::uint32_t>> summary;
    for (const FileDiagnostic& d : result.diagnostics) {
        summary.emplace_back(d.kind, d.line, d.objectId);
    }
    return summary;
}

const CMapClass* NthChild(const CMapClass& parent, int n) {
    auto it = parent.Children().begin();
    std::advance(it, n);
    return *it;
}

// One file with faults of every kind the MAP reader tells apart, in both dialects: each is
// reported with its line (and its object where one was kept), the rest of the map loads, and
// no prompt comes from the reader itself.
TEST_F(FileDiagnosticsTest, EachFaultOfAMapIsReportedByKindLineAndObject) {
    const std::string text =
        "{\n"                                                                       // 1
        "\"classname\" \"worldspawn\"\n"                                            // 2
        "{\n"                                                                       // 3
        "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) A 0 0 0\n"                             // 4 short
        "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) A 0 0 0 1 1\n"                             // 5
        "( 0 0 0 ) ( 0 64 0 ) ( 0 64 64 ) A 0 0 0 1 1\n"                            // 6
        "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) A 0 0 0 1 1\n"                          // 7
        "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) A 0 0 0 1 1\n"                             // 8
        "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) A 0 0 0 1 1\n"                         // 9
        "}\n"                                                                       // 10
        "{\n"                                                                       // 11 open
        "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) A 0 0 0 1 1\n"                             // 12
        "( 0 0 0 ) ( 0 64 0 ) ( 0 64 64 ) A 0 0 0 1 1\n"                            // 13
        "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) A 0 0 0 1 1\n"                          // 14
        "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) A 0 0 0 1 1\n"                             // 15
        "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) A 0 0 0 1 1\n"                         // 16
        "}\n"                                                                       // 17
        "{\n"                                                                       // 18 flat
        "( 0 0 0 ) ( 1 1 1 ) ( 2 2 2 ) A 0 0 0 1 1\n"                               // 19
        "}\n"                                                                       // 20
        "}\n"                                                                       // 21
        "{\n"                                                                       // 22
        "\"classname\" \"func_wall\"\n"                                             // 23
        "{\n"                                                                       // 24
        "( 0 0 0 ) ( 0 1 0 ) ( 0 0 1 ) W [ 0 1 0 0 ] [ 0 0 -1 0 ] 0 1\n"            // 25 short
        "( 64 0 0 ) ( 64 0 1 ) ( 64 1 0 ) W [ 0 1 0 0 ] [ 0 1 0 0 ] 0 1 1\n"        // 26 parallel
        "( 0 0 0 ) ( 0 0 1 ) ( 1 0 0 ) W [ 1 0 0 0 ] [ 0 0 -1 0 ] 0 0 1\n"          // 27 zero scale
        "( 0 64 0 ) ( 1 64 0 ) ( 0 64 1 ) W [ 1 0 0 0 ] [ 0 0 -1 0 ] 0 1 1 1 2 3\n" // 28
        "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) W [ 1 0 0 0 ] [ 0 -1 0 0 ] 0 1 1\n"          // 29
        "( 0 0 64 ) ( 0 1 64 ) ( 1 0 64 ) W [ 1 0 0 0 ] [ 0 -1 0 0 ] 0 1 1\n"       // 30
        "}\n"                                                                       // 31
        "\"origin\" \"1 2 3\"\n"                                                    // 32 no brace
        "}\n"                                                                       // 33
        "junk\n";                                                                   // 34
    CMapWorld world;
    const FileResult result = MapTextReader::Read(world, text, nullptr);
    EXPECT_TRUE(result.Ok());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(context.Context().errors.empty() ||
                context.Context().errors.back().message == "CreateFromPlanes() failed");

    ASSERT_EQ(world.Children().size(), 3u);
    const std::uint32_t open = NthChild(world, 1)->ObjectId();
    const std::vector<std::tuple<Kind, int, std::uint32_t>> expected = {
        {Kind::ShortStandardFaceLine, 4, 0},
        {Kind::OpenSolid, 11, open},
        {Kind::UnbuildableSolid, 18, 0},
        {Kind::ShortAxisFaceLine, 25, 0},
        {Kind::DegenerateTextureAxes, 26, 0},
        {Kind::ZeroTextureScale, 27, 0},
        {Kind::ClosingBraceExpectedForEntity, 32, 0},
        {Kind::TextAfterEntities, 32, 0},
    };
    EXPECT_EQ(Summary(result), expected);
    EXPECT_EQ(result.droppedSolids, 1);
    EXPECT_TRUE(result.HasParseErrors());
    EXPECT_FALSE(result.diagnostics[2].detail.empty());
    // Axis lines make the map one of that dialect; the trailing integers stay with their face.
    EXPECT_EQ(world.Dialect(), MapDialect::TextureAxes);
    const auto* entity = static_cast<const CMapEntity*>(NthChild(world, 2));
    const auto* solid = static_cast<const CMapSolid*>(*entity->Children().begin());
    EXPECT_TRUE(solid->Face(3).ExtraFields().present);
    EXPECT_EQ(solid->Face(3).ExtraFields().value, 3);

    // The report and its texts come from the diagnostics; odd axes are no parse errors.
    const MapReadReport report = MapReadReportOf(result, "faults.map");
    ASSERT_EQ(report.errors.size(), 6u);
    EXPECT_EQ(report.errors[1].objectId, open);
    EXPECT_EQ(report.errors[1].value, 11);
    EXPECT_EQ(report.errors[3].message, "error parsing faults.map, line 25: a face line with "
                                        "texture axes has fewer than 21 fields");

    // Written as standard lines, the faces with odd or own axes are named by solid and face.
    std::string standard;
    MapWriteOptions options;
    options.dialect = MapDialect::Standard;
    const FileResult written = MapTextWriter::Write(world, SinkInto(standard), options);
    EXPECT_TRUE(written.Ok());
    ASSERT_GT(written.Count(Kind::InexactStandardFace), 0u);
    EXPECT_EQ(written.diagnostics[0].objectId, solid->ObjectId());
    EXPECT_EQ(written.diagnostics[0].detail, "W");

    // A sink that fails fails the write with one diagnostic.
    const FileResult failed = MapTextWriter::Write(
        world, [](std::string_view) { return false; }, options);
    EXPECT_EQ(Summary(failed),
              (std::vector<std::tuple<Kind, int, std::uint32_t>>{{Kind::WriteFailed, 0, 0}}));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(FileDiagnosticsTest, RmfFailuresAndCutValuesAreReportedByKind) {
    CMapWorld world;
    world.SetKeyValue("message", std::string(300, 'm'));
    std::string rmf;
    const FileResult written = RmfWriter::Write(world, SinkInto(rmf));
    ASSERT_EQ(written.diagnostics.size(), 1u);
    EXPECT_EQ(written.diagnostics[0].kind, Kind::ValueCut);
    EXPECT_EQ(written.diagnostics[0].detail, "message");
    EXPECT_EQ(written.diagnostics[0].owner, "worldspawn");

    const auto kindOf = [](std::string_view data) -> std::optional<Kind> {
        CMapWorld read;
        const FileResult result = RmfReader::Read(read, data);
        if (result.diagnostics.empty()) {
            return std::nullopt;
        }
        return result.diagnostics[0].kind;
    };
    EXPECT_EQ(kindOf(rmf), std::nullopt);
    EXPECT_EQ(kindOf(rmf.substr(0, rmf.size() - 1)), Kind::Corrupt);
    EXPECT_EQ(kindOf("{\n\"classname\" \"worldspawn\"\n}\n"), Kind::NotRmfButMapText);
    EXPECT_EQ(kindOf(ByteWriter().Float(0.8f).Text("XYZ").bytes), Kind::NotAMap);
    CMapWorld newer;
    const FileResult refused = RmfReader::Read(newer, ByteWriter().Float(2.5f).bytes);
    ASSERT_EQ(refused.diagnostics.size(), 1u);
    EXPECT_EQ(refused.diagnostics[0].kind, Kind::UnknownVersion);
    EXPECT_FLOAT_EQ(static_cast<float>(refused.diagnostics[0].number), 2.5f);
    EXPECT_FALSE(refused.Ok());

    const FileResult missing =
        ReadFileWith("/nonexistent/brickhaven.rmf", [](std::string_view) { return FileResult{}; });
    ASSERT_EQ(missing.diagnostics.size(), 1u);
    EXPECT_EQ(missing.diagnostics[0].kind, Kind::CannotRead);
    EXPECT_FALSE(missing.diagnostics[0].detail.empty());
    EXPECT_TRUE(prompts.shown.empty());
}

} // namespace
