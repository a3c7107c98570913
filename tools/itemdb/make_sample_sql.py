#!/usr/bin/env python3
"""Writes resources/itemdb/sample_data.sql, the rows of TAMU's sample item database.

    python3 tools/itemdb/make_sample_sql.py > resources/itemdb/sample_data.sql

The output is deterministic: the same script always writes the same text. Raw materials are
bought from shops; intermediate goods (tamahagane, cloth, paper, sake ...) are produced from
them, and the finished goods of each producing job from both, so recipes run several levels
deep. Every material has an ItemInfo row and every product has 1 to 7 materials.
"""

import sys

VERSIONS = ["壱の章", "弐の章", "参の章", "四の章", "五の章"]

# アイテム種類 -> 装備区分
KINDS = [
    ("兜", "頭"), ("笠", "頭"), ("頭巾", "頭"),
    ("首飾り", "首"), ("数珠", "首"),
    ("具足", "胴"), ("着物", "胴"), ("装束", "胴"),
    ("帯", "腰"), ("印籠", "腰"),
    ("刀剣", "武器"), ("長柄", "武器"), ("弓", "武器"), ("錫杖", "武器"), ("暗器", "武器"),
    ("籠手", "腕"),
    ("臑当", "足"), ("履物", "足"),
    ("紋", "家紋"),
    ("護符", "お守り"), ("御守", "お守り"),
    ("薬", "特殊"), ("忍具", "特殊"), ("祭具", "特殊"), ("料理", "特殊"),
    ("袋物", "袋"),
    ("鉱石", "その他"), ("木材", "その他"), ("布", "その他"), ("糸", "その他"),
    ("薬草", "その他"), ("食材", "その他"), ("素材", "その他"), ("知行品", "その他"),
]

# Raw materials: name, reading, kind, shop sell price, shop buy price, version.
RAW = [
    ("鉄鉱石", "てっこうせき", "鉱石", 6, 12, 0), ("砂鉄", "さてつ", "鉱石", 4, 8, 0),
    ("銅鉱石", "どうこうせき", "鉱石", 8, 16, 0), ("銀鉱石", "ぎんこうせき", "鉱石", 30, 60, 1),
    ("金鉱石", "きんこうせき", "鉱石", 80, 160, 1), ("硫黄", "いおう", "鉱石", 5, 10, 0),
    ("水晶", "すいしょう", "鉱石", 40, 80, 1), ("翡翠", "ひすい", "鉱石", 90, 180, 2),
    ("瑪瑙", "めのう", "鉱石", 60, 120, 2), ("石灰", "せっかい", "鉱石", 2, 4, 0),
    ("粘土", "ねんど", "鉱石", 1, 3, 0), ("辰砂", "しんしゃ", "鉱石", 35, 70, 2),
    ("杉材", "すぎざい", "木材", 3, 6, 0), ("檜材", "ひのきざい", "木材", 6, 12, 0),
    ("松材", "まつざい", "木材", 2, 5, 0), ("竹", "たけ", "木材", 1, 3, 0),
    ("樫材", "かしざい", "木材", 5, 10, 0), ("桐材", "きりざい", "木材", 8, 16, 1),
    ("楮", "こうぞ", "木材", 2, 4, 0), ("菩提樹の実", "ぼだいじゅのみ", "木材", 15, 30, 2),
    ("麻糸", "あさいと", "糸", 2, 4, 0), ("木綿", "もめん", "糸", 3, 6, 0),
    ("絹糸", "きぬいと", "糸", 12, 24, 0), ("獣皮", "じゅうひ", "素材", 4, 8, 0),
    ("鮫皮", "さめがわ", "素材", 20, 40, 0), ("猪の牙", "いのししのきば", "素材", 10, 20, 1),
    ("鷹の羽", "たかのはね", "素材", 9, 18, 1), ("熊の胆", "くまのい", "薬草", 50, 100, 2),
    ("漆", "うるし", "素材", 15, 30, 0), ("煤", "すす", "素材", 1, 2, 0),
    ("菜種油", "なたねあぶら", "素材", 4, 8, 0), ("蜜蝋", "みつろう", "素材", 7, 14, 1),
    ("朱", "しゅ", "素材", 25, 50, 1), ("藍", "あい", "素材", 6, 12, 0),
    ("紅花", "べにばな", "薬草", 9, 18, 1), ("薬草", "やくそう", "薬草", 1, 2, 0),
    ("甘草", "かんぞう", "薬草", 3, 6, 0), ("当帰", "とうき", "薬草", 5, 10, 0),
    ("朝鮮人参", "ちょうせんにんじん", "薬草", 60, 120, 2), ("蓬", "よもぎ", "薬草", 1, 2, 0),
    ("桔梗根", "ききょうこん", "薬草", 4, 8, 1), ("黄連", "おうれん", "薬草", 6, 12, 1),
    ("毒消し草", "どくけしそう", "薬草", 3, 6, 0), ("麝香", "じゃこう", "薬草", 120, 240, 3),
    ("米", "こめ", "食材", 2, 4, 0), ("麦", "むぎ", "食材", 1, 3, 0),
    ("大豆", "だいず", "食材", 2, 4, 0), ("小豆", "あずき", "食材", 3, 6, 0),
    ("塩", "しお", "食材", 1, 2, 0), ("酒米", "さかまい", "食材", 4, 8, 0),
    ("清水", "しみず", "食材", 0, 1, 0), ("胡麻", "ごま", "食材", 3, 6, 0),
    ("茶葉", "ちゃば", "食材", 8, 16, 1), ("昆布", "こんぶ", "食材", 3, 6, 0),
    ("鰹節", "かつおぶし", "食材", 6, 12, 0), ("鯛", "たい", "食材", 12, 24, 1),
    ("鮎", "あゆ", "食材", 5, 10, 0), ("鮑", "あわび", "食材", 18, 36, 2),
    ("梅", "うめ", "食材", 2, 4, 0), ("大根", "だいこん", "食材", 1, 2, 0),
    ("里芋", "さといも", "食材", 1, 3, 0), ("蕎麦粉", "そばこ", "食材", 2, 4, 1),
    ("葛粉", "くずこ", "食材", 4, 8, 2), ("砂糖", "さとう", "食材", 20, 40, 3),
    ("和紙の端切れ", None, "素材", 1, 1, 3),
]

# Intermediate goods: name, reading, kind, sell, buy, version, [(job, catalogue key)], count,
# materials.
INTERMEDIATE = [
    ("木炭", "もくたん", "素材", 3, 6, 0, ["鍛冶屋", "大工"], 5, [("松材", 2)]),
    ("玉鋼", "たまはがね", "鉱石", 15, 30, 0, ["鍛冶屋"], 2, [("砂鉄", 4), ("木炭", 2)]),
    ("鉄塊", "てっかい", "鉱石", 10, 20, 0, ["鍛冶屋"], 2, [("鉄鉱石", 3), ("木炭", 1)]),
    ("銅板", "どうばん", "鉱石", 12, 24, 0, ["鍛冶屋"], 2, [("銅鉱石", 3), ("木炭", 1)]),
    ("銀板", "ぎんばん", "鉱石", 50, 100, 1, ["鍛冶屋"], 1, [("銀鉱石", 2), ("木炭", 1)]),
    ("金箔", "きんぱく", "素材", 70, 140, 1, ["鍛冶屋"], 4, [("金鉱石", 2), ("和紙", 1)]),
    ("鍔", "つば", "素材", 18, 36, 0, ["鍛冶屋"], 1, [("鉄塊", 1), ("銅板", 1)]),
    ("鋲", "びょう", "素材", 4, 8, 0, ["鍛冶屋"], 10, [("鉄塊", 1)]),
    ("麻布", "あさぬの", "布", 6, 12, 0, ["裁縫師"], 1, [("麻糸", 4)]),
    ("綿布", "めんぷ", "布", 8, 16, 0, ["裁縫師"], 1, [("木綿", 4)]),
    ("絹布", "きぬぬの", "布", 30, 60, 0, ["裁縫師"], 1, [("絹糸", 4)]),
    ("金糸", "きんし", "糸", 40, 80, 1, ["裁縫師"], 2, [("金箔", 1), ("絹糸", 1)]),
    ("錦", "にしき", "布", 90, 180, 1, ["裁縫師"], 1, [("絹糸", 4), ("金糸", 2), ("藍", 1)]),
    ("柄糸", "つかいと", "糸", 14, 28, 0, ["裁縫師"], 2, [("絹糸", 2), ("藍", 1)]),
    ("和紙", "わし", "素材", 4, 8, 0, ["大工", "僧"], 5, [("楮", 3), ("清水", 2)]),
    ("膠", "にかわ", "素材", 5, 10, 0, ["薬師"], 2, [("獣皮", 2), ("清水", 1)]),
    ("墨", "すみ", "素材", 8, 16, 0, ["僧"], 2, [("煤", 3), ("膠", 1)]),
    ("鞣し革", "なめしがわ", "素材", 9, 18, 0, ["裁縫師"], 1, [("獣皮", 2), ("石灰", 1)]),
    ("革紐", "かわひも", "素材", 5, 10, 0, ["裁縫師"], 4, [("鞣し革", 1)]),
    ("漆塗料", "うるしとりょう", "素材", 20, 40, 0, ["大工"], 2, [("漆", 2), ("菜種油", 1)]),
    ("朱漆", "しゅうるし", "素材", 40, 80, 1, ["大工"], 2, [("漆塗料", 1), ("朱", 1)]),
    ("麹", "こうじ", "食材", 3, 6, 0, ["料理人"], 3, [("米", 2)]),
    ("清酒", "せいしゅ", "食材", 15, 30, 0, ["料理人", "僧"], 2,
     [("酒米", 3), ("清水", 3), ("麹", 1)]),
    ("味噌", "みそ", "食材", 6, 12, 0, ["料理人"], 4, [("大豆", 3), ("塩", 1), ("麹", 1)]),
    ("豆腐", "とうふ", "食材", 3, 6, 0, ["料理人"], 2, [("大豆", 2), ("清水", 2)]),
    ("薬研末", "やげんまつ", "薬草", 4, 8, 0, ["薬師"], 3, [("薬草", 2), ("甘草", 1)]),
    ("蝋燭", "ろうそく", "素材", 6, 12, 1, ["僧", "神職"], 4, [("蜜蝋", 1), ("麻糸", 1)]),
    ("白木", "しらき", "木材", 8, 16, 0, ["大工"], 2, [("檜材", 2)]),
    ("矢竹", "やだけ", "木材", 2, 4, 0, ["大工"], 6, [("竹", 2)]),
    ("霊墨", None, "素材", 30, 60, 2, ["陰陽師"], 2, [("墨", 2), ("辰砂", 1), ("清酒", 1)]),
]

# Catalogues: job -> [(目録, MOKUROKU, skill stem)]; the skills of a catalogue run from
# 一 to 五 with GINOU keys A to E.
JOB_CATALOGUES = {
    "鍛冶屋": [("素材目録", "KAJISOZAI", "鍛冶"), ("武具目録", "KAJIBUGU", "鍛冶"),
              ("甲冑目録", "KAJIKACCHU", "鍛冶"), ("知行産物", "CHIGYOSANBUTSU", "知行"),
              ("知行名物", "CHIGYOMEIBUTSU", "知行")],
    "裁縫師": [("反物目録", "SAIHOUTANMONO", "裁縫"), ("衣装目録", "SAIHOUISHOU", "裁縫"),
              ("袋物目録", "SAIHOUFUKUROMONO", "裁縫"), ("知行産物", "CHIGYOSANBUTSU", "知行"),
              ("知行名物", "CHIGYOMEIBUTSU", "知行")],
    "大工": [("木工目録", "DAIKUMOKKOU", "木工"), ("弓矢目録", "DAIKUYUMIYA", "木工"),
           ("知行産物", "CHIGYOSANBUTSU", "知行"), ("知行名物", "CHIGYOMEIBUTSU", "知行")],
    "料理人": [("素材目録", "RYOURISOZAI", "料理"), ("料理目録", "RYOURIRYOURI", "料理"),
              ("知行産物", "CHIGYOSANBUTSU", "知行"), ("知行名物", "CHIGYOMEIBUTSU", "知行")],
    "薬師": [("調合目録", "YAKUSHICHOUGOU", "調合"), ("秘薬目録", "YAKUSHIHIYAKU", "調合"),
           ("知行産物", "CHIGYOSANBUTSU", "知行"), ("知行名物", "CHIGYOMEIBUTSU", "知行")],
    "侍": [("武家目録", "SAMURAIBUKE", "武家"), ("家紋目録", "SAMURAIKAMON", "武家")],
    "僧": [("仏具目録", "SOUBUTSUGU", "仏具"), ("写経目録", "SOUSHAKYOU", "仏具")],
    "神職": [("神具目録", "SHINSHOKUSHINGU", "神事"), ("御守目録", "SHINSHOKUOMAMORI", "神事")],
    "陰陽師": [("呪符目録", "ONMYOUJUFU", "呪術"), ("式神目録", "ONMYOUSHIKIGAMI", "呪術")],
    "忍者": [("忍具目録", "NINJANINGU", "忍術"), ("装束目録", "NINJASHOUZOKU", "忍術")],
}
LEVELS = ["一", "二", "三", "四", "五"]


class Db:
    def __init__(self):
        self.info = {}  # name -> (reading, version, kind, sell, buy)
        self.info_order = []
        self.creators = []
        self.relations = []
        self.recipes = {}

    def add_info(self, name, reading, kind, sell, buy, version):
        if name in self.info:
            raise SystemExit(f"duplicate item {name}")
        self.info[name] = (reading, VERSIONS[version], kind, sell, buy)
        self.info_order.append(name)

    def add_recipe(self, name, job, catalogue, level, count, version, materials):
        key, stem = None, None
        for cat, mokuroku, skill_stem in JOB_CATALOGUES[job]:
            if cat == catalogue:
                key, stem = mokuroku, skill_stem
        if key is None:
            raise SystemExit(f"{job} has no catalogue {catalogue}")
        self.creators.append((name, job, catalogue, key, stem + LEVELS[level], "ABCDE"[level],
                              count, VERSIONS[version]))
        if name not in self.recipes:
            if not 1 <= len(materials) <= 7:
                raise SystemExit(f"{name} has {len(materials)} materials")
            self.recipes[name] = materials
            for material, need in materials:
                self.relations.append((name, material, need))

    def cost(self, name):
        return self.info[name][4]

    def check(self):
        for product, material, _ in self.relations:
            if material not in self.info:
                raise SystemExit(f"{product}: material {material} has no ItemInfo row")
            if material == product:
                raise SystemExit(f"{product} needs itself")
        for row in self.creators:
            if row[0] not in self.info:
                raise SystemExit(f"product {row[0]} has no ItemInfo row")


def priced(db, materials, count, margin):
    """Shop prices of a product from the cost of its materials."""
    unit = sum(db.cost(m) * n for m, n in materials) / count
    buy = max(2, int(unit * margin))
    return buy // 2, buy


def build():
    db = Db()
    for name, reading, kind, sell, buy, version in RAW:
        db.add_info(name, reading, kind, sell, buy, version)
    for name, reading, kind, sell, buy, version, jobs, count, materials in INTERMEDIATE:
        db.add_info(name, reading, kind, sell, buy, version)
    catalogue_of = {"鍛冶屋": "素材目録", "裁縫師": "反物目録", "大工": "木工目録",
                    "料理人": "素材目録", "薬師": "調合目録", "僧": "写経目録", "神職": "神具目録",
                    "陰陽師": "呪符目録"}
    for name, reading, kind, sell, buy, version, jobs, count, materials in INTERMEDIATE:
        for job in jobs:
            db.add_recipe(name, job, catalogue_of[job], 0 if version == 0 else 1, count, version,
                          materials)

    def product(name, reading, kind, job, catalogue, level, count, version, materials,
                margin=1.4):
        sell, buy = priced(db, materials, count, margin)
        db.add_info(name, reading, kind, sell, buy, version)
        db.add_recipe(name, job, catalogue, level, count, version, materials)

    # Swords and polearms: four grades of each blade.
    blades = [("打刀", "うちがたな", "刀剣", 3), ("太刀", "たち", "刀剣", 4),
              ("脇差", "わきざし", "刀剣", 2), ("小太刀", "こだち", "刀剣", 2),
              ("大太刀", "おおだち", "刀剣", 6), ("野太刀", "のだち", "刀剣", 5),
              ("忍刀", "しのびがたな", "刀剣", 2), ("薙刀", "なぎなた", "長柄", 3),
              ("素槍", "すやり", "長柄", 2), ("十文字槍", "じゅうもんじやり", "長柄", 3),
              ("大身槍", "おおみやり", "長柄", 4), ("長巻", "ながまき", "長柄", 4)]
    grades = [("無銘", "むめい"), ("業物", "わざもの"), ("良業物", "よしわざもの"),
              ("大業物", "おおわざもの")]
    for i, (base, yomi, kind, steel) in enumerate(blades):
        for g, (grade, gyomi) in enumerate(grades):
            materials = [("玉鋼", steel + g), ("木炭", 2 + g)]
            if kind == "刀剣":
                materials += [("鍔", 1), ("柄糸", 1), ("鮫皮", 1)]
            else:
                materials += [("樫材", 2), ("鋲", 4)]
            if g >= 2:
                materials.append(("漆塗料", 1))
            if g == 3:
                materials.append(("金箔", 1))
            reading = None if (i, g) == (10, 1) else gyomi + "の" + yomi
            product(grade + "の" + base, reading, kind, "鍛冶屋", "武具目録", min(g + i % 2, 4),
                    1, min(g + i // 6, 4), materials)

    # Armour: helmets, bodies, gauntlets and greaves in four finishes.
    armour = [("筋兜", "すじかぶと", "兜"), ("頭形兜", "ずなりかぶと", "兜"),
              ("桃形兜", "ももなりかぶと", "兜"), ("胴丸", "どうまる", "具足"),
              ("腹巻", "はらまき", "具足"), ("当世具足", "とうせいぐそく", "具足"),
              ("籠手", "こて", "籠手"), ("佩楯", "はいだて", "臑当"), ("臑当", "すねあて", "臑当")]
    finishes = [("鉄", "てつ", []), ("黒漆塗", "くろうるしぬり", [("漆塗料", 2)]),
                ("朱漆塗", "しゅうるしぬり", [("朱漆", 2)]),
                ("金箔押", "きんぱくおし", [("漆塗料", 1), ("金箔", 2)])]
    for i, (base, yomi, kind) in enumerate(armour):
        for f, (finish, fyomi, extra) in enumerate(finishes):
            size = 3 if kind == "具足" else 1
            materials = [("鉄塊", 2 * size + f), ("鞣し革", size), ("革紐", 2 * size),
                         ("鋲", 6)] + extra
            if kind == "具足":
                materials.append(("麻布", 2))
            product(finish + base, fyomi + yomi, kind, "鍛冶屋", "甲冑目録", min(f + i % 2, 4), 1,
                    min(f + i // 5, 4), materials)

    # Clothing in four cloths.
    garments = [("小袖", "こそで", "着物", 2), ("直垂", "ひたたれ", "着物", 3),
                ("狩衣", "かりぎぬ", "着物", 3), ("袴", "はかま", "着物", 2),
                ("羽織", "はおり", "着物", 2), ("陣羽織", "じんばおり", "着物", 3),
                ("帯", "おび", "帯", 1), ("頭巾", "ずきん", "頭巾", 1), ("足袋", "たび", "履物", 1)]
    cloths = [("麻", "あさ", "麻布", "麻糸"), ("木綿", "もめん", "綿布", "木綿"),
              ("絹", "きぬ", "絹布", "絹糸"), ("錦", "にしき", "錦", "絹糸")]
    for i, (base, yomi, kind, size) in enumerate(garments):
        for c, (cloth, cyomi, fabric, thread) in enumerate(cloths):
            materials = [(fabric, size), (thread, 1 + size)]
            if kind == "着物" and c >= 1:
                materials.append(("藍", 1))
            if base == "陣羽織":
                materials.append(("鞣し革", 1))
            product(cloth + "の" + base, cyomi + "の" + yomi, kind, "裁縫師", "衣装目録",
                    min(c + i % 2, 4), 1, min(c + i // 4, 4), materials)
    for name, reading, stuff in [("巾着", "きんちゃく", [("綿布", 1), ("麻糸", 1)]),
                                 ("信玄袋", "しんげんぶくろ", [("綿布", 2), ("革紐", 1)]),
                                 ("胴乱", "どうらん", [("鞣し革", 2), ("革紐", 1), ("鋲", 2)]),
                                 ("錦の守袋", "にしきのまもりぶくろ", [("錦", 1), ("金糸", 1)]),
                                 ("革の矢筒", "かわのやづつ", [("鞣し革", 2), ("革紐", 2),
                                                         ("漆塗料", 1)])]:
        product(name, reading, "袋物", "裁縫師", "袋物目録", len(stuff) - 1, 1, 1, stuff)

    # Bows, arrows and woodwork.
    for name, reading, kind, level, count, stuff in [
            ("半弓", "はんきゅう", "弓", 0, 1, [("竹", 3), ("樫材", 1), ("麻糸", 2)]),
            ("重籐弓", "しげとうゆみ", "弓", 2, 1, [("竹", 4), ("樫材", 2), ("絹糸", 2),
                                                ("漆塗料", 1)]),
            ("大弓", "だいきゅう", "弓", 1, 1, [("竹", 5), ("樫材", 2), ("麻糸", 3)]),
            ("塗籠籐弓", "ぬりごめとうゆみ", "弓", 3, 1, [("竹", 4), ("樫材", 2), ("絹糸", 2),
                                                    ("漆塗料", 2), ("朱漆", 1)]),
            ("征矢", "そや", "素材", 0, 20, [("矢竹", 4), ("鷹の羽", 1), ("鉄塊", 1)]),
            ("鏑矢", "かぶらや", "素材", 1, 10, [("矢竹", 3), ("鷹の羽", 1), ("桐材", 1)]),
            ("雁股矢", "かりまたや", "素材", 2, 10, [("矢竹", 3), ("鷹の羽", 2), ("玉鋼", 1)])]:
        product(name, reading, kind, "大工", "弓矢目録", level, count, level, stuff)
    for name, reading, kind, level, stuff in [
            ("木箱", "きばこ", "素材", 0, [("杉材", 3), ("鋲", 4)]),
            ("桶", "おけ", "素材", 0, [("杉材", 2), ("竹", 1)]),
            ("樫の杖", "かしのつえ", "錫杖", 0, [("樫材", 2)]),
            ("漆塗りの印籠", "うるしぬりのいんろう", "印籠", 2, [("桐材", 1), ("漆塗料", 1),
                                                          ("絹糸", 1)]),
            ("蒔絵の印籠", "まきえのいんろう", "印籠", 4, [("桐材", 1), ("漆塗料", 2), ("金箔", 1),
                                                     ("絹糸", 1)]),
            ("網代笠", "あじろがさ", "笠", 1, [("竹", 3), ("麻糸", 1)]),
            ("菅笠", "すげがさ", "笠", 0, [("竹", 2), ("麻糸", 1)]),
            ("草鞋", "わらじ", "履物", 0, [("麻糸", 2)]),
            ("下駄", "げた", "履物", 1, [("桐材", 1), ("麻糸", 1)]),
            ("鞍", "くら", "素材", 3, [("樫材", 3), ("鞣し革", 2), ("鋲", 8), ("漆塗料", 1)])]:
        product(name, reading, kind, "大工", "木工目録", level, 1, level, stuff)

    # Medicines.
    for name, reading, level, count, stuff in [
            ("傷薬", "きずぐすり", 0, 3, [("薬草", 3)]),
            ("血止め薬", "ちどめぐすり", 0, 3, [("蓬", 3), ("薬研末", 1)]),
            ("気付け薬", "きつけぐすり", 1, 2, [("当帰", 2), ("甘草", 1)]),
            ("毒消し", "どくけし", 1, 3, [("毒消し草", 3), ("薬研末", 1)]),
            ("熱冷まし", "ねつさまし", 1, 2, [("黄連", 2), ("甘草", 1), ("清水", 1)]),
            ("金創膏", "きんそうこう", 2, 2, [("薬研末", 2), ("蜜蝋", 1), ("菜種油", 1)]),
            ("万金丹", "まんきんたん", 2, 5, [("当帰", 2), ("桔梗根", 2), ("甘草", 2), ("膠", 1)]),
            ("陀羅尼助", "だらにすけ", 2, 5, [("黄連", 3), ("薬研末", 2)]),
            ("奇応丸", "きおうがん", 3, 5, [("朝鮮人参", 1), ("麝香", 1), ("薬研末", 2)]),
            ("熊胆丸", "ゆうたんがん", 3, 5, [("熊の胆", 1), ("薬研末", 2), ("膠", 1)]),
            ("六神丸", "ろくしんがん", 3, 6, [("麝香", 1), ("熊の胆", 1), ("朝鮮人参", 1),
                                           ("甘草", 1), ("薬研末", 1), ("膠", 1)]),
            ("反魂丹", "はんごんたん", 4, 3, [("朝鮮人参", 2), ("麝香", 1), ("熊の胆", 1),
                                           ("紅花", 2), ("当帰", 2), ("甘草", 2), ("膠", 1)]),
            ("延命丹", None, 4, 2, [("朝鮮人参", 2), ("紅花", 1), ("清酒", 1)])]:
        catalogue = "秘薬目録" if level >= 3 else "調合目録"
        product(name, reading, "薬", "薬師", catalogue, level, count, level, stuff)

    # Food.
    for name, reading, level, count, stuff in [
            ("握り飯", "にぎりめし", 0, 3, [("米", 2), ("塩", 1)]),
            ("干し飯", "ほしいい", 0, 5, [("米", 3)]),
            ("兵糧丸", "ひょうろうがん", 1, 5, [("米", 2), ("蕎麦粉", 1), ("胡麻", 1),
                                              ("清酒", 1)]),
            ("味噌汁", "みそしる", 0, 3, [("味噌", 1), ("清水", 2), ("大根", 1)]),
            ("湯漬け", "ゆづけ", 0, 2, [("米", 2), ("清水", 1)]),
            ("芋粥", "いもがゆ", 1, 3, [("里芋", 2), ("米", 1), ("清水", 2)]),
            ("豆腐田楽", "とうふでんがく", 1, 3, [("豆腐", 1), ("味噌", 1)]),
            ("煮しめ", "にしめ", 1, 3, [("里芋", 1), ("大根", 1), ("昆布", 1), ("鰹節", 1)]),
            ("鮎の甘露煮", "あゆのかんろに", 2, 2, [("鮎", 3), ("砂糖", 1), ("清酒", 1)]),
            ("鯛の塩焼き", "たいのしおやき", 2, 1, [("鯛", 1), ("塩", 1)]),
            ("赤飯", "せきはん", 2, 4, [("米", 3), ("小豆", 2), ("胡麻", 1)]),
            ("葛餅", "くずもち", 3, 4, [("葛粉", 2), ("砂糖", 1), ("大豆", 1)]),
            ("梅干し", "うめぼし", 0, 10, [("梅", 5), ("塩", 2)]),
            ("沢庵", "たくあん", 0, 5, [("大根", 2), ("塩", 1), ("米", 1)]),
            ("甘酒", "あまざけ", 1, 3, [("麹", 2), ("米", 1), ("清水", 2)]),
            ("陣中食", None, 3, 6, [("兵糧丸", 2), ("干し飯", 2), ("梅干し", 2), ("味噌", 1)]),
            ("本膳料理", "ほんぜんりょうり", 4, 1, [("鯛の塩焼き", 1), ("赤飯", 1), ("煮しめ", 1),
                                                 ("味噌汁", 1), ("清酒", 1), ("葛餅", 1)])]:
        product(name, reading, "料理", "料理人", "料理目録", level, count, level, stuff, 1.6)

    # Samurai: crests and banners.
    crests = [("九曜紋", "くようもん"), ("木瓜紋", "もっこうもん"), ("桔梗紋", "ききょうもん"),
              ("揚羽蝶紋", "あげはちょうもん"), ("竹に雀紋", "たけにすずめもん"),
              ("丸に橘紋", "まるにたちばなもん"), ("三つ盛亀甲紋", "みつもりきっこうもん"),
              ("五三桐紋", "ごさんのきりもん"), ("抱き茗荷紋", "だきみょうがもん"),
              ("違い鷹の羽紋", "ちがいたかのはもん")]
    for i, (name, reading) in enumerate(crests):
        stuff = [("絹布", 1), ("墨", 1)]
        if i >= 3:
            stuff.append(("金糸", 1))
        if i >= 6:
            stuff.append(("朱", 1))
        product(name, reading, "紋", "侍", "家紋目録", min(i // 2, 4), 1, min(i // 3, 4), stuff)
    for name, reading, kind, level, stuff in [
            ("旗指物", "はたさしもの", "素材", 0, [("麻布", 2), ("竹", 2), ("墨", 1)]),
            ("陣笠", "じんがさ", "笠", 0, [("鉄塊", 1), ("漆塗料", 1), ("革紐", 1)]),
            ("軍扇", "ぐんせん", "暗器", 2, [("和紙", 3), ("竹", 2), ("金箔", 1), ("漆塗料", 1)]),
            ("采配", "さいはい", "暗器", 1, [("和紙", 4), ("樫材", 1), ("絹糸", 1)]),
            ("母衣", "ほろ", "装束", 3, [("絹布", 4), ("竹", 4), ("朱", 1)])]:
        product(name, reading, kind, "侍", "武家目録", level, 1, level, stuff)

    # Monks, priests, onmyoji.
    for name, reading, kind, catalogue, level, stuff in [
            ("菩提樹数珠", "ぼだいじゅじゅず", "数珠", "仏具目録", 0, [("菩提樹の実", 3),
                                                                  ("絹糸", 1)]),
            ("水晶数珠", "すいしょうじゅず", "数珠", "仏具目録", 2, [("水晶", 3), ("絹糸", 1)]),
            ("翡翠数珠", "ひすいじゅず", "数珠", "仏具目録", 4, [("翡翠", 3), ("絹糸", 1),
                                                            ("金糸", 1)]),
            ("錫杖", "しゃくじょう", "錫杖", "仏具目録", 1, [("樫材", 2), ("銅板", 2),
                                                        ("鉄塊", 1)]),
            ("金剛杖", "こんごうづえ", "錫杖", "仏具目録", 0, [("檜材", 2)]),
            ("袈裟", "けさ", "装束", "仏具目録", 2, [("絹布", 3), ("金糸", 1), ("藍", 1)]),
            ("般若心経の写経", "はんにゃしんぎょうのしゃきょう", "祭具", "写経目録", 1,
             [("和紙", 2), ("墨", 1)]),
            ("法華経の写経", "ほけきょうのしゃきょう", "祭具", "写経目録", 3,
             [("和紙", 8), ("墨", 3), ("金箔", 1)])]:
        product(name, reading, kind, "僧", catalogue, level, 1, level, stuff)
    for name, reading, kind, catalogue, level, stuff in [
            ("厄除守", "やくよけまもり", "御守", "御守目録", 0, [("綿布", 1), ("和紙", 1)]),
            ("必勝守", "ひっしょうまもり", "御守", "御守目録", 1, [("絹布", 1), ("和紙", 1),
                                                            ("朱", 1)]),
            ("健康守", "けんこうまもり", "御守", "御守目録", 0, [("綿布", 1), ("薬草", 1)]),
            ("開運守", "かいうんまもり", "御守", "御守目録", 2, [("錦", 1), ("和紙", 1)]),
            ("身代守", "みがわりまもり", "御守", "御守目録", 3, [("錦", 1), ("白木", 1),
                                                          ("金糸", 1)]),
            ("翡翠勾玉", "ひすいまがたま", "首飾り", "神具目録", 3, [("翡翠", 2), ("絹糸", 1)]),
            ("瑪瑙勾玉", "めのうまがたま", "首飾り", "神具目録", 2, [("瑪瑙", 2), ("絹糸", 1)]),
            ("水晶勾玉", "すいしょうまがたま", "首飾り", "神具目録", 1, [("水晶", 2),
                                                                  ("麻糸", 1)]),
            ("神鏡", "しんきょう", "祭具", "神具目録", 4, [("銅板", 3), ("銀板", 1), ("白木", 1)]),
            ("御幣", "ごへい", "祭具", "神具目録", 0, [("和紙", 2), ("白木", 1)]),
            ("注連縄", "しめなわ", "祭具", "神具目録", 0, [("麻糸", 6)])]:
        product(name, reading, kind, "神職", catalogue, level, 1, level, stuff)
    for i, (name, reading) in enumerate([("火炎符", "かえんふ"), ("水流符", "すいりゅうふ"),
                                         ("風塵符", "ふうじんふ"), ("地鎮符", "じちんふ"),
                                         ("雷光符", "らいこうふ"), ("鎮魂符", "ちんこんふ"),
                                         ("封魔符", "ふうまふ"), ("破邪符", "はじゃふ")]):
        stuff = [("和紙", 2), ("霊墨", 1)]
        if i >= 4:
            stuff.append(("辰砂", 1))
        product(name, reading, "護符", "陰陽師", "呪符目録", min(i // 2, 4), 3, min(i // 2, 4),
                stuff)
    for name, reading, level, stuff in [
            ("式札", "しきふだ", 1, [("和紙", 3), ("霊墨", 1)]),
            ("人形代", "ひとかたしろ", 2, [("和紙", 2), ("白木", 1), ("霊墨", 1)]),
            ("筮竹", "ぜいちく", 0, [("竹", 5)]),
            ("六壬式盤", "りくじんしきばん", 4, [("白木", 2), ("銅板", 1), ("霊墨", 1),
                                              ("漆塗料", 1)])]:
        product(name, reading, "祭具", "陰陽師", "式神目録", level, 1, level, stuff)

    # Ninja tools and garb.
    for name, reading, kind, catalogue, level, count, stuff in [
            ("手裏剣", "しゅりけん", "暗器", "忍具目録", 0, 10, [("鉄塊", 1)]),
            ("棒手裏剣", "ぼうしゅりけん", "暗器", "忍具目録", 1, 10, [("玉鋼", 1)]),
            ("苦無", "くない", "暗器", "忍具目録", 1, 3, [("鉄塊", 1), ("麻糸", 1)]),
            ("鎖鎌", "くさりがま", "暗器", "忍具目録", 3, 1, [("玉鋼", 2), ("鉄塊", 2),
                                                          ("樫材", 1)]),
            ("撒菱", "まきびし", "忍具", "忍具目録", 0, 20, [("鉄塊", 1)]),
            ("煙玉", "けむりだま", "忍具", "忍具目録", 1, 5, [("和紙", 1), ("硫黄", 1),
                                                        ("木炭", 1)]),
            ("目潰し", "めつぶし", "忍具", "忍具目録", 0, 5, [("石灰", 2), ("和紙", 1)]),
            ("鉤縄", "かぎなわ", "忍具", "忍具目録", 2, 1, [("鉄塊", 1), ("麻糸", 4)]),
            ("吹き矢", "ふきや", "暗器", "忍具目録", 2, 5, [("竹", 1), ("毒消し草", 1),
                                                      ("鷹の羽", 1)]),
            ("忍び装束", "しのびしょうぞく", "装束", "装束目録", 1, 1, [("綿布", 3), ("藍", 2)]),
            ("鎖帷子", "くさりかたびら", "装束", "装束目録", 3, 1, [("鉄塊", 4), ("綿布", 2),
                                                            ("鋲", 10)]),
            ("黒頭巾", "くろずきん", "頭巾", "装束目録", 0, 1, [("綿布", 1), ("藍", 1)]),
            ("忍び足袋", "しのびたび", "履物", "装束目録", 2, 1, [("綿布", 1), ("鞣し革", 1)])]:
        product(name, reading, kind, "忍者", catalogue, level, count, level, stuff)

    # Fief produce (知行産物) and fief specialities (知行名物): the goods of a fief that the
    # profit calculator prices; 1 to 7 materials each.
    for name, reading, job, level, count, stuff in [
            ("上質な清酒", "じょうしつなせいしゅ", "料理人", 0, 10, [("清酒", 4)]),
            ("塩俵", "しおだわら", "料理人", 0, 20, [("塩", 12), ("麻布", 1)]),
            ("味噌樽", "みそだる", "料理人", 1, 5, [("味噌", 6), ("桶", 1)]),
            ("干し鮑", "ほしあわび", "料理人", 2, 10, [("鮑", 8), ("塩", 2), ("清水", 2)]),
            ("茶箱", "ちゃばこ", "料理人", 3, 5, [("茶葉", 10), ("木箱", 1), ("和紙", 2),
                                               ("蜜蝋", 1)]),
            ("和紙束", "わしたば", "大工", 0, 20, [("和紙", 10), ("麻糸", 1)]),
            ("炭俵", "すみだわら", "大工", 0, 20, [("木炭", 10), ("麻布", 1)]),
            ("漆器膳", "しっきぜん", "大工", 2, 5, [("檜材", 3), ("漆塗料", 2), ("朱漆", 1),
                                                ("麻布", 1), ("膠", 1)]),
            ("蝋燭箱", "ろうそくばこ", "大工", 1, 10, [("蝋燭", 10), ("木箱", 1)]),
            ("生糸束", "きいとたば", "裁縫師", 0, 10, [("絹糸", 8)]),
            ("木綿反物", "もめんたんもの", "裁縫師", 0, 10, [("綿布", 4), ("藍", 2)]),
            ("麻反物", "あさたんもの", "裁縫師", 0, 10, [("麻布", 4), ("藍", 1), ("清水", 1)]),
            ("鉄鍋", "てつなべ", "鍛冶屋", 1, 5, [("鉄塊", 4), ("木炭", 3), ("鋲", 2)]),
            ("農具一式", "のうぐいっしき", "鍛冶屋", 2, 5, [("鉄塊", 4), ("樫材", 3), ("木炭", 3),
                                                      ("鋲", 6), ("革紐", 2), ("麻糸", 2)]),
            ("薬種箱", "やくしゅばこ", "薬師", 2, 5, [("薬研末", 4), ("甘草", 3), ("当帰", 2),
                                                  ("桔梗根", 2), ("黄連", 2), ("木箱", 1),
                                                  ("和紙", 2)]),
            ("膏薬壺", None, "薬師", 1, 10, [("金創膏", 4), ("粘土", 2), ("木炭", 1)])]:
        product(name, reading, "知行品", job, "知行産物", level, count, level, stuff, 1.25)
    for name, reading, job, level, count, stuff in [
            ("備前焼の壺", "びぜんやきのつぼ", "大工", 2, 1, [("粘土", 20), ("松材", 10),
                                                        ("木炭", 4)]),
            ("輪島塗の椀", "わじまぬりのわん", "大工", 3, 5, [("檜材", 4), ("漆塗料", 4),
                                                        ("朱漆", 2), ("金箔", 1), ("麻布", 1),
                                                        ("膠", 1)]),
            ("京扇子", "きょうせんす", "大工", 2, 5, [("和紙", 6), ("竹", 4), ("金箔", 1),
                                                  ("墨", 1), ("絹糸", 1)]),
            ("奈良墨", "ならずみ", "大工", 1, 10, [("墨", 6), ("膠", 2), ("麝香", 1)]),
            ("西陣織の帯", "にしじんおりのおび", "裁縫師", 4, 1, [("錦", 3), ("金糸", 4),
                                                            ("絹糸", 6), ("藍", 2), ("紅花", 2),
                                                            ("朱", 1), ("膠", 1)]),
            ("博多織", "はかたおり", "裁縫師", 3, 2, [("絹布", 4), ("絹糸", 6), ("藍", 2)]),
            ("加賀友禅", "かがゆうぜん", "裁縫師", 4, 1, [("絹布", 6), ("紅花", 3), ("藍", 3),
                                                  ("朱", 1)]),
            ("越前打刃物", "えちぜんうちはもの", "鍛冶屋", 3, 5, [("玉鋼", 4), ("木炭", 6),
                                                            ("樫材", 2), ("鋲", 4)]),
            ("堺の鉄砲鍛冶筒", "さかいのてっぽうかじづつ", "鍛冶屋", 4, 1,
             [("玉鋼", 8), ("鉄塊", 4), ("樫材", 2), ("木炭", 8), ("鋲", 6), ("銅板", 1)]),
            ("宇治茶", "うじちゃ", "料理人", 3, 10, [("茶葉", 20), ("和紙", 2)]),
            ("灘の生一本", "なだのきいっぽん", "料理人", 4, 5, [("清酒", 10), ("桶", 1),
                                                            ("和紙", 1)]),
            ("外郎", "ういろう", "薬師", 3, 10, [("薬研末", 6), ("甘草", 4), ("朝鮮人参", 1),
                                              ("麝香", 1), ("砂糖", 2)])]:
        # Specialities sell to the shop (店売り, half the buy price) above their material cost.
        product(name, reading, "知行品", job, "知行名物", level, count, level, stuff, 2.6)

    # A few goods that several jobs can make, under their own catalogues.
    db.add_recipe("陣笠", "鍛冶屋", "甲冑目録", 0, 1, 0,
                  db.recipes["陣笠"])
    db.add_recipe("草鞋", "忍者", "装束目録", 0, 2, 0, db.recipes["草鞋"])
    db.add_recipe("甘酒", "僧", "写経目録", 1, 3, 1, db.recipes["甘酒"])
    db.check()
    showcase(db)
    return db


SHOWCASE_JOB = "見本師"


def showcase(db):
    """Products named 見本：… that show, from the shipped database, the rules the ordinary
    recipes never meet. They break on purpose what check() guards for the others."""
    def item(name, reading, sell, buy, version=0):
        db.add_info(name, reading, "素材", sell, buy, version)

    def creator(name, catalogue="見本目録", key="MIHON", skill="見本一", ginou="A", count=1,
                version=0, job=SHOWCASE_JOB):
        db.creators.append((name, job, catalogue, key, skill, ginou, count, VERSIONS[version]))

    def needs(name, *materials):
        for material, need in materials:
            db.relations.append((name, material, need))

    # A needs B needs A: each is walked once; the tree closes the cycle with a leaf.
    item("見本：循環する甲", "じゅんかんするこう", 10, 20)
    item("見本：循環する乙", "じゅんかんするおつ", 10, 20)
    creator("見本：循環する甲")
    creator("見本：循環する乙")
    needs("見本：循環する甲", ("見本：循環する乙", 1), ("杉材", 2))
    needs("見本：循環する乙", ("見本：循環する甲", 1), ("竹", 3))
    # A product among its own materials: shown with itself as a leaf child.
    item("見本：自分を材料にする品", "じぶんをざいりょうにするしな", 10, 20)
    creator("見本：自分を材料にする品")
    needs("見本：自分を材料にする品", ("見本：自分を材料にする品", 1), ("杉材", 1))
    # A material without an ItemInfo row: no statement that joins ItemInfo sees it.
    item("見本：台帳に無い材料を使う品", "だいちょうにないざいりょうをつかうしな", 10, 20)
    creator("見本：台帳に無い材料を使う品")
    needs("見本：台帳に無い材料を使う品", ("見本：台帳に無い材料", 2), ("竹", 1))
    # Empty sort keys leave a catalogue out of the catalogue list and a skill out of the skill
    # list; the products are still found by name.
    item("見本：目録の並び順が空の品", "もくろくのならびじゅんがからのしな", 10, 20)
    creator("見本：目録の並び順が空の品", catalogue="見本の隠れ目録", key="")
    needs("見本：目録の並び順が空の品", ("杉材", 1))
    item("見本：技能の並び順が空の品", "ぎのうのならびじゅんがからのしな", 10, 20)
    creator("見本：技能の並び順が空の品", skill="見本の隠れ技能", ginou="")
    needs("見本：技能の並び順が空の品", ("竹", 1))
    # A product without materials: found, but no tree and no message.
    item("見本：材料の無い品", "ざいりょうのないしな", 10, 20)
    creator("見本：材料の無い品")
    # Nine materials: the search window's grid and the profit calculator show them all.
    item("見本：材料が九つの品", "ざいりょうがここのつのしな", 400, 800)
    creator("見本：材料が九つの品", catalogue="知行名物", key="CHIGYOMEIBUTSU", skill="知行三",
            ginou="C")
    needs("見本：材料が九つの品", ("杉材", 1), ("檜材", 1), ("松材", 1), ("竹", 1), ("樫材", 1),
          ("桐材", 1), ("楮", 1), ("麻糸", 1), ("砂鉄", 1))
    # One product in a fief catalogue and in another: the first catalogue row decides 利益計算,
    # the last product row decides what the calculator shows.
    item("見本：知行とほかの目録に載る品", "ちぎょうとほかのもくろくにのるしな", 30, 60)
    creator("見本：知行とほかの目録に載る品", catalogue="知行産物", key="CHIGYOSANBUTSU",
            skill="知行一", count=2)
    creator("見本：知行とほかの目録に載る品", count=5)
    needs("見本：知行とほかの目録に載る品", ("檜材", 2), ("麻糸", 1))
    # Names that differ only in letter case: one item each, but the tree's path test treats
    # them as the same name.
    item("見本：Sample Box", "さんぷるぼっくす", 10, 20)
    item("見本：SAMPLE BOX", "さんぷるぼっくす", 10, 20)
    creator("見本：Sample Box")
    creator("見本：SAMPLE BOX")
    needs("見本：Sample Box", ("見本：SAMPLE BOX", 1))
    needs("見本：SAMPLE BOX", ("見本：Sample Box", 1), ("杉材", 1))
    # The recipe of 五の章 for an item of 壱の章: the catalogue and skill lists follow the recipe's
    # version, the condition search the item's.
    item("見本：版の食い違う品", "はんのくいちがうしな", 10, 20, version=0)
    creator("見本：版の食い違う品", version=4)
    needs("見本：版の食い違う品", ("杉材", 3))
    # The largest figures the calculator meets: counts and prices at the 32-bit limit.
    item("見本：桁の大きい品", "けたのおおきいしな", 1, 2147483647)
    item("見本：桁の大きい材料", "けたのおおきいざいりょう", 1, 2147483647)
    creator("見本：桁の大きい品", catalogue="知行産物", key="CHIGYOSANBUTSU", skill="知行一",
            count=2147483647)
    needs("見本：桁の大きい品", ("見本：桁の大きい材料", 1))


def literal(value):
    if value is None:
        return "NULL"
    if isinstance(value, int):
        return str(value)
    return "'" + value.replace("'", "''") + "'"


def insert(table, values):
    return f"INSERT INTO {table} VALUES ({', '.join(literal(v) for v in values)});"


def main():
    db = build()
    out = sys.stdout
    out.write("-- Rows of TAMU's sample item database. Written by tools/itemdb/make_sample_sql.py;\n"
              "-- change the script and run it again rather than editing by hand.\n")
    out.write(f"-- {len(db.info)} items, {len({row[0] for row in db.creators})} products, "
              f"{len(db.creators)} recipe rows, {len(db.relations)} material rows.\n\n")
    for kind, equip in KINDS:
        out.write(insert("ItemKind", (kind, equip)) + "\n")
    out.write("\n")
    for name in db.info_order:
        reading, version, kind, sell, buy = db.info[name]
        out.write(insert("ItemInfo", (name, reading, version, kind, sell, buy)) + "\n")
    out.write("\n")
    for row in db.creators:
        out.write(insert("ItemCreator", row) + "\n")
    out.write("\n")
    for row in db.relations:
        out.write(insert("ItemCreateRelation", row) + "\n")


if __name__ == "__main__":
    main()
