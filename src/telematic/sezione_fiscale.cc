#include <array>

#include "recfile/numeri.h"
#include "telematic/sezioni.h"

namespace quibold {
namespace {

using enum Regola;

// The fiscal section DB001, in the order of emission; the comment is the row number.
constexpr std::array<Riga, 196> kSezioneFiscale = {{
    {"DB001001", C(22), Importo, kRedditi},  // 1
    {"DB001002", C(23), Importo, kRedditi},  // 2
    {"DB001003", C(24), Importo, kRedditi},  // 3
    {"DB001004", C(25), Importo, kRedditi},  // 4
    {"DB001005", C(26), Importo},  // 5
    {"DB001006", C(27), GiorniLavoro},  // 6
    {"DB001008", C(29), DestraSePositivo},  // 7
    {"DB001009", C(30), DestraSePositivo},  // 8
    {"DB001010", C(31), Flag},  // 9
    {"DB001011", C(32), GiorniParziali},  // 10
    {"DB001021", C(33), Importo, kRitenuteIrpef},  // 11
    {"DB001022", C(34), Importo, kAddizionaleRegionale},  // 12
    {"DB001023", C(35), Importo, kAddizionaleRegionaleAP},  // 13
    {"DB001024", C(36), Importo},  // 14
    {"DB001025", C(37), Importo, kAddizionaleComunaleAP},  // 15
    {"DB001026", C(38), Importo, kAddizionaleComunale, kAccontoComunale},  // 16
    {"DB001027", C(39), Importo, kAddizionaleComunale},  // 17
    {"DB001028", C(40), Importo},  // 18
    {"DB001029", C(41), Importo, kAccontoComunale2018},  // 19
    {"DB001051", C(53), TestoSePresente},  // 20
    {"DB001052", C(54), Flag},  // 21
    {"DB001054", C(121), PrimaCifra},  // 22
    {"DB001055", C(121), SecondaCifra},  // 23
    {"DB001061", C(55), Importo, kTrattenuteAssistenzaFiscale},  // 24
    {"DB001062", C(56), Importo, kRimborsiAssistenzaFiscale},  // 25
    {"DB001063", C(57), Importo},  // 26
    {"DB001064", C(58), Importo},  // 27
    {"DB001071", C(59), Importo, kTrattenuteAssistenzaFiscale},  // 28
    {"DB001072", C(60), Importo, kRimborsiAssistenzaFiscale},  // 29
    {"DB001073", C(61), Importo},  // 30
    {"DB001074", C(62), Importo},  // 31
    {"DB001075", C(63), DueCifreSePresente},  // 32
    {"DB001081", C(64), Importo, kTrattenuteAssistenzaFiscale},  // 33
    {"DB001082", C(65), Importo, kRimborsiAssistenzaFiscale},  // 34
    {"DB001083", C(66), Importo},  // 35
    {"DB001084", C(67), Importo},  // 36
    {"DB001085", C(68), TestoOltreUnCarattere},  // 37
    {"DB001091", C(69), Importo, kTrattenuteAssistenzaFiscale},  // 38
    {"DB001092", C(70), Importo, kRimborsiAssistenzaFiscale},  // 39
    {"DB001093", C(71), Importo},  // 40
    {"DB001094", C(72), Importo},  // 41
    {"DB001106", C(75), Importo, kTrattenuteAssistenzaFiscale},  // 42
    {"DB001107", C(76), Importo},  // 43
    {"DB001111", C(77), Importo, kTrattenuteAssistenzaFiscale},  // 44
    {"DB001112", C(78), Importo},  // 45
    {"DB001121", C(79), Importo, kTrattenuteAssistenzaFiscale},  // 46
    {"DB001122", C(80), Importo, kTrattenuteAssistenzaFiscale},  // 47
    {"DB001123", C(81), Flag},  // 48
    {"DB001124", C(82), Importo, kTrattenuteAssistenzaFiscale},  // 49
    {"DB001125", C(83), TestoOltreUnCarattere},  // 50
    {"DB001126", C(84), Importo, kTrattenuteAssistenzaFiscale},  // 51
    {"DB001127", C(85), Importo, kTrattenuteAssistenzaFiscale},  // 52
    {"DB001128", C(86), Flag},  // 53
    {"DB001141", C(90), Importo},  // 54
    {"DB001142", C(91), Importo},  // 55
    {"DB001143", C(92), Importo},  // 56
    {"DB001151", C(93), Importo},  // 57
    {"DB001152", C(94), Importo},  // 58
    {"DB001153", C(95), Importo},  // 59
    {"DB001261", C(103), Importo, kTrattenuteAssistenzaFiscale},  // 60
    {"DB001262", C(104), Importo, kRimborsiAssistenzaFiscale},  // 61
    {"DB001263", C(105), Importo},  // 62
    {"DB001264", C(106), Importo},  // 63
    {"DB001271", C(107), Importo, kTrattenuteAssistenzaFiscale},  // 64
    {"DB001272", C(108), Importo, kRimborsiAssistenzaFiscale},  // 65
    {"DB001273", C(109), Importo},  // 66
    {"DB001274", C(110), Importo},  // 67
    {"DB001275", C(111), DueCifreSePositivo},  // 68
    {"DB001281", C(112), Importo, kTrattenuteAssistenzaFiscale},  // 69
    {"DB001282", C(113), Importo, kRimborsiAssistenzaFiscale},  // 70
    {"DB001283", C(114), Importo},  // 71
    {"DB001284", C(115), Importo},  // 72
    {"DB001285", C(116), TestoOltreUnCarattere},  // 73
    {"DB001291", C(117), Importo, kTrattenuteAssistenzaFiscale},  // 74
    {"DB001292", C(118), Importo, kRimborsiAssistenzaFiscale},  // 75
    {"DB001293", C(119), Importo},  // 76
    {"DB001294", C(120), Importo},  // 77
    {"DB001306", C(123), Importo, kTrattenuteAssistenzaFiscale},  // 78
    {"DB001307", C(124), Importo},  // 79
    {"DB001311", C(125), Importo, kTrattenuteAssistenzaFiscale},  // 80
    {"DB001312", C(126), Importo},  // 81
    {"DB001321", C(127), Importo, kTrattenuteAssistenzaFiscale},  // 82
    {"DB001322", C(128), Importo, kTrattenuteAssistenzaFiscale},  // 83
    {"DB001323", C(129), Flag},  // 84
    {"DB001324", C(130), Importo, kTrattenuteAssistenzaFiscale},  // 85
    {"DB001325", C(131), TestoOltreUnCarattere},  // 86
    {"DB001326", C(132), Importo, kTrattenuteAssistenzaFiscale},  // 87
    {"DB001327", C(133), Importo, kTrattenuteAssistenzaFiscale},  // 88
    {"DB001328", C(134), Flag},  // 89
    {"DB001341", C(138), ImportoIntero},  // 90
    {"DB001342", C(139), Importo},  // 91
    {"DB001343", C(140), ImportoIntero},  // 92
    {"DB001344", C(141), Importo},  // 93
    {"DB001361", C(150), Importo},  // 94
    {"DB001362", C(151), Importo},  // 95
    {"DB001363", C(152), Importo},  // 96
    {"DB001364", C(153), Importo},  // 97
    {"DB001365", C(154), Importo},  // 98
    {"DB001366", C(155), Importo},  // 99
    {"DB001367", C(156), Importo},  // 100
    {"DB001368", C(157), Importo},  // 101
    {"DB001369", C(158), Importo},  // 102
    {"DB001370", C(159), Importo},  // 103
    {"DB001371", C(160), Importo},  // 104
    {"DB001372", C(161), Importo},  // 105
    {"DB001373", C(150), TotaleDetrazioni, kDetrazioni},  // 106
    {"DB001374", C(163), Importo},  // 107
    {"DB001375", C(164), Conteggio3SePositivo},  // 108
    {"DB001376", C(165), Importo},  // 109
    {"DB001377", C(166), Importo},  // 110
    {"DB001378", C(167), Importo},  // 111
    {"DB001391", C(168), DestraSePositivo},  // 112
    {"DB001392", C(169), Importo, kBonus},  // 113
    {"DB001393", C(170), Importo},  // 114
    {"DB001394", C(171), Importo},  // 115
    {"DB001395", C(172), DestraSePositivo},  // 116
    {"DB001396", C(173), Importo},  // 117
    {"DB001397", C(174), Importo},  // 118
    {"DB001399", C(175), Importo},  // 119
    {"DB001411", C(176), CarattereADestra},  // 120
    {"DB001412", C(177), Importo},  // 121
    {"DB001413", C(178), Importo},  // 122
    {"DB001414", C(179), Importo},  // 123
    {"DB001415", C(180), DestraSePositivo},  // 124
    {"DB001425", C(190), CodiceFiscale},  // 125
    {"DB001431", C(193), Importo},  // 126
    {"DB001432", C(194), DueCaratteriADestra},  // 127
    {"DB001433", C(195), Importo},  // 128
    {"DB001438", C(200), Importo},  // 129
    {"DB001439", C(201), Importo},  // 130
    {"DB001440", C(202), Importo},  // 131
    {"DB001441", C(203), Importo},  // 132
    {"DB001442", C(204), Importo},  // 133
    {"DB001443", C(205), CodiceFiscale},  // 134
    {"DB001444", C(206), Flag},  // 135
    {"DB001451", C(207), Importo},  // 136
    {"DB001453", C(209), Importo},  // 137
    {"DB001454", C(210), Importo},  // 138
    {"DB001462", C(216), Conteggio3SePositivo},  // 139
    {"DB001473", C(226), Importo},  // 140
    {"DB001474", C(227), Importo},  // 141
    {"DB001475", C(228), Importo},  // 142
    {"DB001476", C(229), Flag},  // 143
    {"DB001477", C(230), LetteraAB},  // 144
    {"DB001478", C(231), Importo},  // 145
    {"DB001481", C(232), Importo},  // 146
    {"DB001482", C(233), Importo},  // 147
    {"DB001484", C(235), CarattereADestra},  // 148
    {"DB001485", C(236), Importo},  // 149
    {"DB001486", C(237), TestoUnCarattere},  // 150
    {"DB001487", C(238), Importo},  // 151
    {"DB001A89", C(240), DueCaratteriADestra},  // 152
    {"DB001B89", C(241), DueCifreSePositivo},  // 153
    {"DB001490", C(242), ImportoIntero},  // 154
    {"DB001491", C(243), Importo},  // 155
    {"DB001492", C(244), CodiceFiscale},  // 156
    {"DB001496", C(245), Importo},  // 157
    {"DB001497", C(246), Importo},  // 158
    {"DB001498", C(247), Importo},  // 159
    {"DB001499", C(248), Importo},  // 160
    {"DB001511", C(251), Importo, kTassazioneSeparata},  // 161
    {"DB001512", C(252), Importo, kTassazioneSeparata},  // 162
    {"DB001513", C(253), Importo},  // 163
    {"DB001515", C(255), ImportoIntero},  // 164
    {"DB001516", C(256), Importo},  // 165
    {"DB001517", C(257), Importo},  // 166
    {"DB001518", C(258), Importo},  // 167
    {"DB001520", C(260), Importo},  // 168
    {"DB001521", C(261), ImportoIntero},  // 169
    {"DB001522", C(262), CodiceFiscale},  // 170
    {"DB001531", C(263), Importo, kRedditiDaTerzi},  // 171
    {"DB001532", C(264), Importo, kRedditiDaTerzi},  // 172
    {"DB001533", C(265), Importo, kRedditiDaTerzi},  // 173
    {"DB001534", C(266), Importo, kRedditiDaTerzi},  // 174
    {"DB001535", C(267), Importo, kRedditiDaTerzi},  // 175
    {"DB001536", C(268), CodiceFiscale},  // 176
    {"DB001537", C(269), ImportoIntero},  // 177
    {"DB001538", C(270), Importo},  // 178
    {"DB001539", C(271), Importo},  // 179
    {"DB001540", C(272), Importo},  // 180
    {"DB001541", C(273), Importo},  // 181
    {"DB001542", C(274), Importo},  // 182
    {"DB001543", C(275), Importo},  // 183
    {"DB001544", C(276), Importo},  // 184
    {"DB001545", C(277), Importo},  // 185
    {"DB001546", C(278), Importo},  // 186
    {"DB001551", C(283), ImportoIntero},  // 187
    {"DB001552", C(284), Importo},  // 188
    {"DB001553", C(285), ImportoIntero},  // 189
    {"DB001554", C(286), Importo},  // 190
    {"DB001561", C(287), Importo},  // 191
    {"DB001562", C(288), Importo},  // 192
    {"DB001563", C(289), Importo},  // 193
    {"DB001564", C(290), Importo},  // 194
    {"DB001611", C(293), CodiceFiscale},  // 195
    {"DB001612", C(294), Flag},  // 196
}};

// The first row written for an employee whose income fields are all zero.
constexpr size_t kPrimaRigaSenzaRedditi = 145;  // "DB001481"
static_assert(kSezioneFiscale[kPrimaRigaSenzaRedditi].codice == "DB001481");

}  // namespace

void SezioneFiscale(Scrittore& s, const FontiDipendente& fonti) {
  const auto& campo = fonti.campi.Campo;
  std::span<const Riga> righe(kSezioneFiscale);
  // An employee of code "2" with no income in fields 22 and 23 gets only the rows from
  // "DB001481" on, and feeds none of the totals of the rows before. Each field is read on its
  // own: read as one text, "0.00" followed by "0.50" would stop at the second point and lose
  // the income.
  const bool senzaRedditi = ValoreNumerico(campo[22]) == 0 && ValoreNumerico(campo[23]) == 0;
  if (campo[10] == "2" && senzaRedditi) righe = righe.subspan(kPrimaRigaSenzaRedditi);
  Emetti(s, fonti, righe);
}

}  // namespace quibold
