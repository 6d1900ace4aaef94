// Section H, oral and nutritional status: swallowing, weight and height with
// their measurement dates, weight loss, artificial feeding and the intake
// scales, and from 091 the days of tube feeding.
//
// A measured value and its date go together: a measurement needs a value in
// range and a real date; no measurement needs the value 0 and the absent date.
// The intake scales are asked only of patients who are fed artificially.
// The messages write the section name in two ways ("H.구강 및 영양상태" and
// "H.구강및영양상태"); both are kept as the form has them.
#include <initializer_list>
#include <span>

#include "validate/row_plan.h"
#include "validate/sections.h"

namespace grouper {

namespace {

using R = AssessmentRecord;

constexpr Gate kWeightMeasuredGate = AnswerIs<&R::h_weight_measured, '1'>();
constexpr GateRef WeightMeasured = &kWeightMeasuredGate;
constexpr Gate kWeightNotMeasuredGate = AnswerIs<&R::h_weight_measured, '0'>();
constexpr GateRef WeightNotMeasured = &kWeightNotMeasuredGate;
constexpr Gate kHeightMeasuredGate = AnswerIs<&R::h_height_measured, '1'>();
constexpr GateRef HeightMeasured = &kHeightMeasuredGate;
constexpr Gate kHeightNotMeasuredGate = AnswerIs<&R::h_height_measured, '0'>();
constexpr GateRef HeightNotMeasured = &kHeightNotMeasuredGate;
bool FedArtificiallyHolds(const R& r) {
  return r.h_parenteral_nutrition == '1' || r.h_tube_feeding == '1';
}
constexpr Gate kFedArtificially = {FedArtificiallyHolds,
                                   kFields<FIELD(h_parenteral_nutrition), FIELD(h_tube_feeding)>};
constexpr Gate kNotFedArtificially = {
    [](const R& r) { return !FedArtificiallyHolds(r); },
    kFields<FIELD(h_parenteral_nutrition), FIELD(h_tube_feeding)>};
constexpr GateRef FedArtificially = &kFedArtificially;
constexpr GateRef NotFedArtificially = &kNotFedArtificially;
constexpr Gate kTubeFedGate = AnswerIs<&R::h_tube_feeding, '1'>();
constexpr GateRef TubeFed = &kTubeFedGate;
constexpr Gate kNotTubeFedGate = AnswerIs<&R::h_tube_feeding, '0'>();
constexpr GateRef NotTubeFed = &kNotTubeFedGate;

// H.1 and H.2, for every family. Weights are compared in tenths.
constexpr Row kSwallowingAndWeight[] = {
    CharRange(&R::h_swallowing, '0', '1',
              FORM_MSG(u8"H.구강 및 영양상태", u8"[1.삼키기]", u8" 0~1 사이값을 입력하시오")),
    CharRange(&R::h_weight_measured, '0', '1',
              FORM_MSG(u8"H.구강및영양상태", u8"[2.체중 측정 여부]", u8" 0~1 사이값을 입력하시오")),
    DecimalRange(
        &R::h_weight, 1, 9999,
        FORM_MSG(u8"H.구강 및 영양상태", u8"[2.체중]", u8" 0.1~999.9 사이 숫자를 입력하시오"),
        WeightMeasured),
    Date(&R::h_weight_date, FORM_MSG(u8"H.구강및영양상태", u8"[2.체중 측정일]", u8""),
         WeightMeasured),
    DecimalZero(
        &R::h_weight,
        FORM_MSG(u8"H.구강 및 영양상태", u8"[2.체중]", u8" 측정하지 않았을 경우 0을 입력하시오"),
        WeightNotMeasured),
    AbsentDate(&R::h_weight_date,
               FORM_MSG(u8"H.구강 및 영양상태", u8"[2.체중]",
                        u8" 측정하지 않았을 경우 측정일 \"00000000\"을 입력하시오."),
               WeightNotMeasured),
    CharRange(&R::h_weight_loss, '0', '2',
              FORM_MSG(u8"H.구강및영양상태", u8"[2.2.체중감소]", u8" 0~2 사이값을 입력하시오")),
};

// H.2.3 height, from 090.
constexpr Row kHeight[] = {
    CharRange(
        &R::h_height_measured, '0', '1',
        FORM_MSG(u8"H.구강및영양상태", u8"[2.3.키][a.키 측정여부]", u8" 0~1 사이값을 입력하시오")),
    DecimalRange(
        &R::h_height, 1, 9999,
        FORM_MSG(u8"H.구강및영양상태", u8"[2.3.키][b-1 키]", u8" 0.1~999.9 사이 숫자를 입력하시오"),
        HeightMeasured),
    Date(&R::h_height_date, FORM_MSG(u8"H.구강및영양상태", u8"[2.3.키][b-2.측정일]", u8""),
         HeightMeasured),
    DecimalZero(&R::h_height,
                FORM_MSG(u8"H.구강 및 영양상태", u8"[2.3.키][측정키]",
                         u8" 측정하지 않았을 경우 0을 입력하시오"),
                HeightNotMeasured),
    AbsentDate(&R::h_height_date,
               FORM_MSG(u8"H.구강 및 영양상태", u8"[2.3.키][측정일]",
                        u8" 측정하지 않았을 경우 측정일 \"00000000\"을 입력하시오."),
               HeightNotMeasured),
};

// H.3 and H.4, for every family.
constexpr Row kFeeding[] = {
    CharRange(&R::h_parenteral_nutrition, '0', '1',
              FORM_MSG(u8"H.구강및영양상태", u8"[3.a.정맥내 영양]", u8" 0~1 사이값을 입력하시오")),
    CharRange(&R::h_tube_feeding, '0', '1',
              FORM_MSG(u8"H.구강및영양상태", u8"[3.b.경관영양]", u8" 0~1 사이값을 입력하시오")),
    CharRange(&R::h_calorie_intake, '0', '4',
              FORM_MSG(u8"H.구강및영양상태", u8"[4.a.칼로리]", u8" 0~4 사이값을 입력하시오"),
              FedArtificially),
    CharRange(&R::h_fluid_intake, '0', '5',
              FORM_MSG(u8"H.구강및영양상태", u8"[4.b.수분량]", u8" 0~5 사이값을 입력하시오"),
              FedArtificially),
    Blank(&R::h_calorie_intake,
          FORM_MSG(u8"H.구강및영양상태", u8"[4.a.칼로리]", u8" space를 입력하시오"),
          NotFedArtificially),
    Blank(&R::h_fluid_intake,
          FORM_MSG(u8"H.구강및영양상태", u8"[4.b.수분량]", u8" space를 입력하시오"),
          NotFedArtificially),
};

// H.3.b.2 days of tube feeding, from 091. Intravenous nutrition alone allows
// no days of tube feeding.
constexpr Row kTubeFeedingDays[] = {
    IntRange(&R::h_tube_feeding_days, 0, 99,
             FORM_MSG(u8"H.구강및영양상태", u8"[3.b.2.경관영양 실시일수 ]",
                      u8" 0~99 사이값을 입력하시오"),
             TubeFed),
    IntZero(&R::h_tube_feeding_days,
            FORM_MSG(u8"H.구강및영양상태", u8"[3.b.2.경관영양 실시일수 ]",
                     u8" 경관영양을 체크하지 않았을 경우 0을 입력하시오"),
            NotTubeFed),
};

using SectionH = Section<Rows<kSwallowingAndWeight>, Rows<kHeight, IsFrom090>, Rows<kFeeding>,
                         Rows<kTubeFeedingDays, IsFrom091>>;

}  // namespace

template <class Sink>
bool StageH::Run(const AssessmentRecord& record, Family family, Sink& sink) {
  return SectionH::Run(record, family, sink);
}
std::span<const RowList> StageH::Lists() {
  return SectionH::kLists;
}

template bool StageH::Run(const AssessmentRecord&, Family, FirstFault&);
template bool StageH::Run(const AssessmentRecord&, Family, FaultList&);

}  // namespace grouper
