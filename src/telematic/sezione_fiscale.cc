#include <array>

#include "recfile/numeri.h"
#include "telematic/sezioni.h"

namespace quibold {
namespace {

using enum Regola;

// The day count, DB001006: days above a year count as a whole year, from here on for the whole
// employee (the field is set to "365" in place).
void GiorniLavoro(Scrittore& s, const FontiDipendente& fonti, const Riga& r) {
  auto& giorni = fonti.campi.Campo[r.fonte.indice];
  if (ValoreNumerico(giorni) > 365) giorni = "365";
  const std::string conteggio = Conteggio3(giorni);
  if (Positivo(conteggio)) s.AllineatoDestra(r.codice, conteggio);
}

// DB001011, written only for an employee of less than a year (by the capped day count).
void GiorniParziali(Scrittore& s, const FontiDipendente& fonti, const Riga& r) {
  const std::string_view v = fonti.Valore(r.fonte);
  if (ValoreNumerico(Conteggio3(fonti.campi.Campo[27])) < 365 && Positivo(v)) s.AllineatoDestra(r.codice, v);
}

// The deductions in all, DB001373: the sum of the five deductions, rounded, and never more than
// the tax they are deducted from (the row's own field).
void TotaleDetrazioni(Scrittore& s, const FontiDipendente& fonti, const Riga& r) {
  const auto& campo = fonti.campi.Campo;
  double detrazioni = ValoreNumerico(campo[151]) + ValoreNumerico(campo[156]) + ValoreNumerico(campo[152]) +
                      ValoreNumerico(campo[157]) + ValoreNumerico(campo[158]);
  detrazioni = Arrotonda(detrazioni);
  const double imposta = ValoreNumerico(fonti.Valore(r.fonte));
  s.Importo = imposta < detrazioni ? imposta : detrazioni;
  s.CampoImporto(r.codice);
  AggiungiTotali(s, r, s.Importo);
}

// The fiscal section DB001, in the order of emission.
constexpr auto kSezioneFiscale = std::to_array<Riga>({
    {"DB001001", C(22), Importo},
    {"DB001002", C(23), Importo},
    {"DB001003", C(24), Importo},
    {"DB001004", C(25), Importo},
    {"DB001005", C(26), Importo},
    {"DB001006", C(27), Propria, GiorniLavoro},
    {"DB001008", C(29), DestraSePositivo},
    {"DB001009", C(30), DestraSePositivo},
    {"DB001010", C(31), Flag},
    {"DB001011", C(32), Propria, GiorniParziali},
    {"DB001021", C(33), Importo},
    {"DB001022", C(34), Importo},
    {"DB001023", C(35), Importo},
    {"DB001024", C(36), Importo},
    {"DB001025", C(37), Importo},
    {"DB001026", C(38), Importo},
    {"DB001027", C(39), Importo},
    {"DB001028", C(40), Importo},
    {"DB001029", C(41), Importo},
    {"DB001051", C(53), TestoSePresente},
    {"DB001052", C(54), Flag},
    {"DB001054", C(121), PrimaCifra},
    {"DB001055", C(121), SecondaCifra},
    {"DB001061", C(55), Importo},
    {"DB001062", C(56), Importo},
    {"DB001063", C(57), Importo},
    {"DB001064", C(58), Importo},
    {"DB001071", C(59), Importo},
    {"DB001072", C(60), Importo},
    {"DB001073", C(61), Importo},
    {"DB001074", C(62), Importo},
    {"DB001075", C(63), DueCifreSePresente},
    {"DB001081", C(64), Importo},
    {"DB001082", C(65), Importo},
    {"DB001083", C(66), Importo},
    {"DB001084", C(67), Importo},
    {"DB001085", C(68), TestoOltreUnCarattere},
    {"DB001091", C(69), Importo},
    {"DB001092", C(70), Importo},
    {"DB001093", C(71), Importo},
    {"DB001094", C(72), Importo},
    {"DB001106", C(75), Importo},
    {"DB001107", C(76), Importo},
    {"DB001111", C(77), Importo},
    {"DB001112", C(78), Importo},
    {"DB001121", C(79), Importo},
    {"DB001122", C(80), Importo},
    {"DB001123", C(81), Flag},
    {"DB001124", C(82), Importo},
    {"DB001125", C(83), TestoOltreUnCarattere},
    {"DB001126", C(84), Importo},
    {"DB001127", C(85), Importo},
    {"DB001128", C(86), Flag},
    {"DB001141", C(90), Importo},
    {"DB001142", C(91), Importo},
    {"DB001143", C(92), Importo},
    {"DB001151", C(93), Importo},
    {"DB001152", C(94), Importo},
    {"DB001153", C(95), Importo},
    {"DB001261", C(103), Importo},
    {"DB001262", C(104), Importo},
    {"DB001263", C(105), Importo},
    {"DB001264", C(106), Importo},
    {"DB001271", C(107), Importo},
    {"DB001272", C(108), Importo},
    {"DB001273", C(109), Importo},
    {"DB001274", C(110), Importo},
    {"DB001275", C(111), DueCifreSePositivo},
    {"DB001281", C(112), Importo},
    {"DB001282", C(113), Importo},
    {"DB001283", C(114), Importo},
    {"DB001284", C(115), Importo},
    {"DB001285", C(116), TestoOltreUnCarattere},
    {"DB001291", C(117), Importo},
    {"DB001292", C(118), Importo},
    {"DB001293", C(119), Importo},
    {"DB001294", C(120), Importo},
    {"DB001306", C(123), Importo},
    {"DB001307", C(124), Importo},
    {"DB001311", C(125), Importo},
    {"DB001312", C(126), Importo},
    {"DB001321", C(127), Importo},
    {"DB001322", C(128), Importo},
    {"DB001323", C(129), Flag},
    {"DB001324", C(130), Importo},
    {"DB001325", C(131), TestoOltreUnCarattere},
    {"DB001326", C(132), Importo},
    {"DB001327", C(133), Importo},
    {"DB001328", C(134), Flag},
    {"DB001341", C(138), ImportoIntero},
    {"DB001342", C(139), Importo},
    {"DB001343", C(140), ImportoIntero},
    {"DB001344", C(141), Importo},
    {"DB001361", C(150), Importo},
    {"DB001362", C(151), Importo},
    {"DB001363", C(152), Importo},
    {"DB001364", C(153), Importo},
    {"DB001365", C(154), Importo},
    {"DB001366", C(155), Importo},
    {"DB001367", C(156), Importo},
    {"DB001368", C(157), Importo},
    {"DB001369", C(158), Importo},
    {"DB001370", C(159), Importo},
    {"DB001371", C(160), Importo},
    {"DB001372", C(161), Importo},
    {"DB001373", C(150), Propria, TotaleDetrazioni},
    {"DB001374", C(163), Importo},
    {"DB001375", C(164), Conteggio3SePositivo},
    {"DB001376", C(165), Importo},
    {"DB001377", C(166), Importo},
    {"DB001378", C(167), Importo},
    {"DB001391", C(168), DestraSePositivo},
    {"DB001392", C(169), Importo},
    {"DB001393", C(170), Importo},
    {"DB001394", C(171), Importo},
    {"DB001395", C(172), DestraSePositivo},
    {"DB001396", C(173), Importo},
    {"DB001397", C(174), Importo},
    {"DB001399", C(175), Importo},
    {"DB001411", C(176), CarattereADestra},
    {"DB001412", C(177), Importo},
    {"DB001413", C(178), Importo},
    {"DB001414", C(179), Importo},
    {"DB001415", C(180), DestraSePositivo},
    {"DB001425", C(190), CodiceFiscale},
    {"DB001431", C(193), Importo},
    {"DB001432", C(194), DueCaratteriADestra},
    {"DB001433", C(195), Importo},
    {"DB001438", C(200), Importo},
    {"DB001439", C(201), Importo},
    {"DB001440", C(202), Importo},
    {"DB001441", C(203), Importo},
    {"DB001442", C(204), Importo},
    {"DB001443", C(205), CodiceFiscale},
    {"DB001444", C(206), Flag},
    {"DB001451", C(207), Importo},
    {"DB001453", C(209), Importo},
    {"DB001454", C(210), Importo},
    {"DB001462", C(216), Conteggio3SePositivo},
    {"DB001473", C(226), Importo},
    {"DB001474", C(227), Importo},
    {"DB001475", C(228), Importo},
    {"DB001476", C(229), Flag},
    {"DB001477", C(230), LetteraAB},
    {"DB001478", C(231), Importo},
    {"DB001481", C(232), Importo},
    {"DB001482", C(233), Importo},
    {"DB001484", C(235), CarattereADestra},
    {"DB001485", C(236), Importo},
    {"DB001486", C(237), TestoUnCarattere},
    {"DB001487", C(238), Importo},
    {"DB001A89", C(240), DueCaratteriADestra},
    {"DB001B89", C(241), DueCifreSePositivo},
    {"DB001490", C(242), ImportoIntero},
    {"DB001491", C(243), Importo},
    {"DB001492", C(244), CodiceFiscale},
    {"DB001496", C(245), Importo},
    {"DB001497", C(246), Importo},
    {"DB001498", C(247), Importo},
    {"DB001499", C(248), Importo},
    {"DB001511", C(251), Importo},
    {"DB001512", C(252), Importo},
    {"DB001513", C(253), Importo},
    {"DB001515", C(255), ImportoIntero},
    {"DB001516", C(256), Importo},
    {"DB001517", C(257), Importo},
    {"DB001518", C(258), Importo},
    {"DB001520", C(260), Importo},
    {"DB001521", C(261), ImportoIntero},
    {"DB001522", C(262), CodiceFiscale},
    {"DB001531", C(263), Importo},
    {"DB001532", C(264), Importo},
    {"DB001533", C(265), Importo},
    {"DB001534", C(266), Importo},
    {"DB001535", C(267), Importo},
    {"DB001536", C(268), CodiceFiscale},
    {"DB001537", C(269), ImportoIntero},
    {"DB001538", C(270), Importo},
    {"DB001539", C(271), Importo},
    {"DB001540", C(272), Importo},
    {"DB001541", C(273), Importo},
    {"DB001542", C(274), Importo},
    {"DB001543", C(275), Importo},
    {"DB001544", C(276), Importo},
    {"DB001545", C(277), Importo},
    {"DB001546", C(278), Importo},
    {"DB001551", C(283), ImportoIntero},
    {"DB001552", C(284), Importo},
    {"DB001553", C(285), ImportoIntero},
    {"DB001554", C(286), Importo},
    {"DB001561", C(287), Importo},
    {"DB001562", C(288), Importo},
    {"DB001563", C(289), Importo},
    {"DB001564", C(290), Importo},
    {"DB001611", C(293), CodiceFiscale},
    {"DB001612", C(294), Flag},
});

// The first row written for an employee whose income fields are all zero.
constexpr size_t kPrimaRigaSenzaRedditi = PosizioneDi(kSezioneFiscale, "DB001481");
static_assert(kPrimaRigaSenzaRedditi < kSezioneFiscale.size());

}  // namespace

std::vector<TabellaRighe> TabelleFiscale() { return {{"kSezioneFiscale", kSezioneFiscale}}; }

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
