#include "MissionPlan.h"

namespace assetbuilder
{

const std::vector<MissionPlanEntry>& MissionPlan()
{
    using V = Vehicle;
    using W = Work;
    static const std::vector<MissionPlanEntry> plan = {
        {1, V::Catering, {{W::Catering, "A1"}}},
        {2, V::Fuel, {{W::Refuel, "A2"}}},
        {3, V::Baggage, {{W::Baggage, "A3"}}},
        {4, V::Fuel, {{W::Repair, "H"}}},
        {5, V::Catering, {{W::Catering, "A4"}}},
        {6, V::Baggage, {{W::Baggage, "B1"}}},
        {7, V::Fuel, {{W::Refuel, "B1"}}},
        {8, V::Catering, {{W::Catering, "A1"}, {W::Catering, "A2"}}},
        {9, V::Baggage, {{W::Baggage, "A3"}, {W::Baggage, "A4"}}},
        {10, V::Catering, {{W::Repair, "A2"}, {W::Catering, "A2"}}},
        {11, V::Fuel, {{W::Refuel, "A1"}, {W::Refuel, "A3"}}},
        {12, V::Catering, {{W::Catering, "B1"}, {W::Catering, "B2"}}},
        {13, V::Baggage, {{W::Baggage, "B2"}, {W::Repair, "B2"}}},
        {14, V::Fuel, {{W::Refuel, "B2"}, {W::Repair, "A4"}}},
        {15, V::Catering, {{W::Catering, "A1"}, {W::Catering, "A3"}, {W::Catering, "A4"}}},
        {16, V::Baggage, {{W::Baggage, "A1"}, {W::Baggage, "A2"}, {W::Baggage, "B1"}}},
        {17, V::Fuel, {{W::Refuel, "A2"}, {W::Refuel, "A4"}, {W::Refuel, "B2"}}},
        {18, V::Fuel, {{W::Repair, "H"}, {W::Refuel, "B1"}}},
        {19, V::Catering, {{W::Catering, "B2"}, {W::Catering, "A2"}, {W::Catering, "A4"}}},
        {20, V::Baggage, {{W::Baggage, "B2"}, {W::Baggage, "A3"}}},
        {21, V::Catering, {{W::Repair, "A1"}, {W::Repair, "B1"}, {W::Repair, "H"}}},
        {22, V::Fuel, {{W::Refuel, "A1"}, {W::Refuel, "A3"}, {W::Refuel, "B1"}, {W::Refuel, "B2"}}},
        {23, V::Catering, {{W::Catering, "A2"}, {W::Catering, "A3"}, {W::Catering, "B1"}, {W::Repair, "B1"}}},
        {24, V::Baggage, {{W::Baggage, "A4"}, {W::Baggage, "B1"}, {W::Baggage, "B2"}, {W::Baggage, "A1"}}},
        {25, V::Fuel, {{W::Refuel, "B1"}, {W::Refuel, "B2"}, {W::Repair, "A4"}, {W::Repair, "H"}}},
    };
    return plan;
}

} // namespace assetbuilder
