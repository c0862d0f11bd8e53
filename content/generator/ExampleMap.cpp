#include "ExampleMap.h"

#include <array>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Point {
    int x, y, z;
};

struct Box {
    Point min;
    Point max;
    // Faces in the order -x, +x, -y, +y, -z, +z.
    std::array<std::string, 6> textures;
};

Box Make(Point min, Point max, const std::string& side, const std::string& top = {},
         const std::string& bottom = {}) {
    Box box{min, max, {side, side, side, side, side, side}};
    if (!top.empty()) {
        box.textures[5] = top;
    }
    if (!bottom.empty()) {
        box.textures[4] = bottom;
    }
    return box;
}

std::string Format(const Point& p) {
    return "( " + std::to_string(p.x) + " " + std::to_string(p.y) + " " + std::to_string(p.z) +
           " )";
}

// Three points on each face, ordered so that (p0 - p1) x (p2 - p1) points out of the brush.
std::string BrushText(const Box& b) {
    const Point& a = b.min;
    const Point& c = b.max;
    // Three corners of each face; their order is fixed below to face outward.
    const std::array<std::array<Point, 3>, 6> faces = {{
        {{{a.x, a.y, a.z}, {a.x, c.y, a.z}, {a.x, a.y, c.z}}}, // -x
        {{{c.x, c.y, c.z}, {c.x, a.y, c.z}, {c.x, c.y, a.z}}}, // +x
        {{{a.x, a.y, a.z}, {a.x, a.y, c.z}, {c.x, a.y, a.z}}}, // -y
        {{{c.x, c.y, c.z}, {c.x, c.y, a.z}, {a.x, c.y, c.z}}}, // +y
        {{{a.x, a.y, a.z}, {c.x, a.y, a.z}, {a.x, c.y, a.z}}}, // -z
        {{{c.x, c.y, c.z}, {a.x, c.y, c.z}, {c.x, a.y, c.z}}}, // +z
    }};
    const std::array<std::array<int, 3>, 6> outward = {
        {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}}};
    std::string text = "{\n";
    for (std::size_t f = 0; f < faces.size(); ++f) {
        auto p = faces[f];
        long long ux = p[0].x - p[1].x, uy = p[0].y - p[1].y, uz = p[0].z - p[1].z;
        long long vx = p[2].x - p[1].x, vy = p[2].y - p[1].y, vz = p[2].z - p[1].z;
        long long nx = uy * vz - uz * vy;
        long long ny = uz * vx - ux * vz;
        long long nz = ux * vy - uy * vx;
        long long facing = nx * outward[f][0] + ny * outward[f][1] + nz * outward[f][2];
        if (facing == 0) {
            throw std::logic_error("flat brush");
        }
        if (facing < 0) {
            std::swap(p[0], p[2]);
        }
        text += Format(p[0]) + " " + Format(p[1]) + " " + Format(p[2]) + " " + b.textures[f] +
                " 0 0 0 1 1\n";
    }
    text += "}\n";
    return text;
}

// The floor of a room (z -128 to 0) around a rectangular pit, as up to four brushes whose top
// is the floor texture and whose sides line the pit.
void FloorAroundPit(std::vector<Box>& out, Point roomMin, Point roomMax, Point pitMin, Point pitMax,
                    const std::string& floor, const std::string& pitSide) {
    const int bottom = -128;
    const int top = 0;
    auto add = [&](int x0, int y0, int x1, int y1) {
        if (x1 > x0 && y1 > y0) {
            out.push_back(Make({x0, y0, bottom}, {x1, y1, top}, pitSide, floor));
        }
    };
    add(roomMin.x, roomMin.y, pitMin.x, roomMax.y);
    add(pitMax.x, roomMin.y, roomMax.x, roomMax.y);
    add(pitMin.x, roomMin.y, pitMax.x, pitMin.y);
    add(pitMin.x, pitMax.y, pitMax.x, roomMax.y);
}

struct Entity {
    std::vector<std::pair<std::string, std::string>> keys;
    std::vector<Box> brushes;
};

Entity PointEntity(const std::string& classname, int x, int y, int z,
                   std::vector<std::pair<std::string, std::string>> extra = {}) {
    Entity e;
    e.keys.push_back({"classname", classname});
    e.keys.push_back(
        {"origin", std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z)});
    for (auto& kv : extra) {
        e.keys.push_back(std::move(kv));
    }
    return e;
}

} // namespace

std::string ExampleMapText() {
    // Room A (start): x -512..256; room B (water, open sky): x 272..1024, y -512..-8;
    // room C (lava): x 272..1024, y 8..512. Floors at z 0, ceilings at z 320.
    std::vector<Box> world;

    // The shell: floor slab, outer walls (split per room for their textures), ceilings.
    world.push_back(Make({-528, -528, -144}, {1040, 528, -128}, "floor_dirt"));
    world.push_back(Make({-528, -528, -144}, {-512, 528, 336}, "brick_red"));
    world.push_back(Make({-528, -528, -144}, {264, -512, 336}, "brick_red"));
    world.push_back(Make({-528, 512, -144}, {264, 528, 336}, "brick_red"));
    world.push_back(Make({264, -528, -144}, {1040, -512, 336}, "stone_mossy"));
    world.push_back(Make({1024, -528, -144}, {1040, 0, 336}, "stone_mossy"));
    world.push_back(Make({264, 512, -144}, {1040, 528, 336}, "tech_panel"));
    world.push_back(Make({1024, 0, -144}, {1040, 528, 336}, "tech_panel"));
    world.push_back(Make({-528, -528, 320}, {264, 528, 336}, "stone_slab"));
    world.push_back(Make({264, -528, 320}, {1040, 0, 336}, "sky"));
    world.push_back(Make({264, 0, 320}, {1040, 528, 336}, "metal_plate"));

    // Wall between A and the other rooms, with a doorway at y -64..64 up to z 128.
    world.push_back(Make({256, -512, -128}, {272, -64, 320}, "brick_grey"));
    world.push_back(Make({256, 64, -128}, {272, 512, 320}, "brick_grey"));
    world.push_back(Make({256, -64, 128}, {272, 64, 320}, "brick_grey", {}, "metal_trim"));
    world.push_back(Make({256, -64, -128}, {272, 64, 0}, "brick_grey", "metal_stripe"));

    // Wall between B and C, with a doorway at x 576..704.
    world.push_back(Make({272, -8, -128}, {576, 8, 320}, "metal_plate"));
    world.push_back(Make({704, -8, -128}, {1024, 8, 320}, "metal_plate"));
    world.push_back(Make({576, -8, 128}, {704, 8, 320}, "metal_plate", {}, "metal_trim"));
    world.push_back(Make({576, -8, -128}, {704, 8, 0}, "metal_plate", "metal_stripe"));

    // Floors with their pits, and the liquids in them.
    FloorAroundPit(world, {-512, -512, 0}, {256, 512, 0}, {-448, 256, 0}, {-256, 448, 0},
                   "floor_tile", "stone_rough");
    world.push_back(Make({-448, 256, -128}, {-256, 448, -24}, "*slime"));
    FloorAroundPit(world, {272, -512, 0}, {1024, -8, 0}, {448, -448, 0}, {896, -136, 0},
                   "stone_cobble", "stone_rough");
    world.push_back(Make({448, -448, -128}, {896, -136, -16}, "*water"));
    FloorAroundPit(world, {272, 8, 0}, {1024, 512, 0}, {560, 200, 0}, {800, 420, 0}, "floor_slate",
                   "rock_cave");
    world.push_back(Make({560, 200, -128}, {800, 420, -32}, "*lava"));

    // Two pillars in the start room, and a crate.
    world.push_back(
        Make({-160, -224, 0}, {-96, -160, 320}, "stone_block", "trim_gold", "trim_gold"));
    world.push_back(Make({-160, 160, 0}, {-96, 224, 320}, "stone_block", "trim_gold", "trim_gold"));
    world.push_back(Make({96, 320, 0}, {160, 384, 64}, "wood_crate"));
    // A lamp panel on the start room's ceiling and a sign by the doorway.
    world.push_back(Make({-96, -32, 312}, {-32, 32, 320}, "metal_trim", {}, "light_panel"));
    world.push_back(Make({248, 80, 64}, {256, 144, 96}, "metal_trim"));
    world.back().textures[0] = "sign_arrow";

    std::vector<Entity> entities;
    Entity worldspawn;
    worldspawn.keys = {{"classname", "worldspawn"},
                       {"message", "Brickhaven example"},
                       {"wad", "textures.wad"},
                       {"worldtype", "0"},
                       {"sounds", "0"}};
    worldspawn.brushes = world;
    entities.push_back(worldspawn);

    entities.push_back(PointEntity("info_player_start", -384, 0, 24, {{"angle", "0"}}));
    entities.push_back(PointEntity("info_player_coop", -384, -96, 24, {{"angle", "0"}}));
    entities.push_back(PointEntity("info_player_deathmatch", 0, -384, 24, {{"angle", "90"}}));
    entities.push_back(PointEntity("info_player_deathmatch", 640, 320, 24, {{"angle", "270"}}));
    entities.push_back(PointEntity("light", -64, 0, 280, {{"light", "350"}}));
    entities.push_back(PointEntity("light", -384, -384, 200, {{"light", "250"}}));
    entities.push_back(PointEntity("light", -352, 352, 160, {{"light", "200"}, {"style", "10"}}));
    entities.push_back(PointEntity("light", 640, -256, 240, {{"light", "300"}}));
    entities.push_back(PointEntity("light", 400, -400, 120, {{"light", "200"}}));
    entities.push_back(PointEntity("light", 640, 120, 260, {{"light", "300"}}));
    entities.push_back(PointEntity("light", 920, 440, 160, {{"light", "200"}}));
    entities.push_back(PointEntity("item_health", -32, 320, 0));
    entities.push_back(PointEntity("weapon_supershotgun", 128, -256, 8));
    entities.push_back(PointEntity("item_shells", 160, -320, 0));
    entities.push_back(PointEntity("monster_army", 900, 120, 24, {{"angle", "180"}}));
    entities.push_back(PointEntity("ambient_drip", 672, -296, 40));

    Entity door;
    door.keys = {{"classname", "func_door"},
                 {"angle", "-1"},
                 {"speed", "120"},
                 {"wait", "4"},
                 {"sounds", "2"}};
    door.brushes.push_back(Make({258, -64, 0}, {270, 64, 128}, "door_metal"));
    entities.push_back(door);

    Entity trigger;
    trigger.keys = {{"classname", "trigger_once"}, {"message", "Mind the lava."}};
    trigger.brushes.push_back(Make({576, -32, 0}, {704, 32, 128}, "trigger"));
    entities.push_back(trigger);

    std::string text = "// Brickhaven example map: three rooms with slime, water and lava.\n";
    for (std::size_t i = 0; i < entities.size(); ++i) {
        text += "// entity " + std::to_string(i) + "\n{\n";
        for (const auto& [key, value] : entities[i].keys) {
            text += "\"" + key + "\" \"" + value + "\"\n";
        }
        for (std::size_t b = 0; b < entities[i].brushes.size(); ++b) {
            text += "// brush " + std::to_string(b) + "\n" + BrushText(entities[i].brushes[b]);
        }
        text += "}\n";
    }
    return text;
}
