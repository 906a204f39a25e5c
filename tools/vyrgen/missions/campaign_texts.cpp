#include "tools/vyrgen/missions/campaign_texts.h"

#include <array>
#include <cstddef>

namespace vyr::vyrgen {

namespace {

// The words that make one war read unlike another.
struct Theatre {
    const char* name;
    const char* front;   // where the armies meet
    const char* ground;  // what the counter-attack crosses
};

constexpr std::array<Theatre, 4> THEATRES = {{
    {"Israel", "the border hills", "the desert"},
    {"Korea", "the river crossings", "the valleys"},
    {"Cyprus", "the coastal plain", "the island's farmland"},
    {"Afghanistan", "the high passes", "the mountains"},
}};

// Levels 1 to 11: the situation at the level, then what failing a mission at it brought.
constexpr std::array<std::array<const char*, 2>, 11> LEVELS = {{
    {"The front has collapsed. Enemy armour is within a day's drive of our last airfield, and every "
     "aircraft that can fly is committed.\n\nHold them, or this war is lost.",
     "The last line has gone. Our squadron is flying from a strip of road with what fuel is left."},
    {"The enemy has broken through @FRONT. Our ground forces are falling back under heavy air "
     "attack.\n\nSlow the advance and buy time for the reserves to come up.",
     "The airfield is under artillery fire and the reserves have been cut off."},
    {"Enemy forces have crossed into @ZONE in strength. Our ground forces hold a line along @FRONT, "
     "but they need air cover.\n\nHit the enemy where he is weakest and keep the sky clear over our "
     "troops.",
     "The line along @FRONT has broken. Our ground forces are falling back under air attack."},
    {"Our line along @FRONT is holding. The enemy is bringing up fuel and ammunition for a new "
     "attack.\n\nFind his supply columns and stop them before they reach the front.",
     "The supply columns got through. The enemy attack has come, and our line is giving way."},
    {"The enemy offensive has stalled. Intelligence reports armour regrouping behind @FRONT.\n\n"
     "Command wants it destroyed before it can move again.",
     "The enemy armour regrouped unseen and has struck our line again."},
    {"Our counter-attack has begun. Ground forces are pushing forward across @GROUND, and enemy "
     "fighters are contesting the sky.\n\nClear the way for the advance.",
     "Enemy fighters held the sky over @GROUND and the counter-attack has stalled."},
    {"The enemy is falling back. His air defences are still dangerous and his airfields are still "
     "working.\n\nSuppress the defences and close the airfields.",
     "The enemy air defences are intact. Our advance has halted without air cover."},
    {"Our forces have retaken the ground lost in the first days of the war. The enemy is digging "
     "in for a last stand.\n\nBreak his defences before they are complete.",
     "The enemy has finished his defences and our attack has been thrown back."},
    {"The enemy line is breaking. His commanders are pulling their units back across @GROUND.\n\n"
     "Cut the roads and bridges. Let nothing escape.",
     "The enemy got his units away intact and has formed a new line."},
    {"This is the final push. The enemy's last reserves are committed.\n\nOne more victory and "
     "@ZONE is secure. Fly well.",
     "The final push has failed. The enemy reserves held, and the war goes on."},
    {"The enemy has asked for a cease-fire. Until it holds, the squadron flies as ordered.",
     "The enemy has broken the cease-fire and struck back hard."},
}};

std::string with_theatre(std::string text, const Theatre& theatre) {
    const std::array<std::array<const char*, 2>, 3> words = {
        {{"@ZONE", theatre.name}, {"@FRONT", theatre.front}, {"@GROUND", theatre.ground}}};
    for (const auto& [mark, word] : words)
        for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at))
            text.replace(at, std::string(mark).size(), word);
    return text;
}

}  // namespace

std::string campaign_text(int zone, int number) {
    const Theatre& theatre = THEATRES[zone - 1];
    const std::string title = ":Title\n" + std::string(theatre.name) + " campaign, stage " + std::to_string(number) + "\n";
    if (number == 0)
        return with_theatre(title +
                                ":Description\n"
                                "Intelligence reports::enemy forces massed along @FRONT crossed into @ZONE at "
                                "first light today.\n\n"
                                "Your squadron will fly in support of our ground forces until the enemy is "
                                "thrown back. You have three lives. Use them well.\n"
                                ":Failure\n"
                                "The campaign is lost. The enemy has overrun our positions along @FRONT and "
                                "the squadron has been withdrawn.\n\n"
                                "A new campaign in @ZONE awaits your orders.\n"
                                ":Success\n"
                                "Victory. The enemy has been driven out of @ZONE and has accepted a "
                                "cease-fire.\n\n"
                                "The squadron stands down with the thanks of the high command. Well done.\n",
                            theatre);
    const auto& level = LEVELS[size_t(number - 1)];
    return with_theatre(title + ":Situation\n" + level[0] + "\n:Failure\n" + level[1] + "\n", theatre);
}

}  // namespace vyr::vyrgen
