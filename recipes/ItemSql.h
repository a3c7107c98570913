#pragma once

#include <QString>
#include <QStringList>

#include "recipes/SqlStatement.h"

// The statements that the program runs against the item database, one builder each. Values are
// bound, never pasted; "全て" stands for no condition.

// Choice lists of the controller's start-up load.
SqlStatement SqlJobList();      // 生産職業
SqlStatement SqlVersionList();  // バージョン
SqlStatement SqlEquipList();    // 装備区分

// Lists that depend on a choice, ordered by their sort keys.
SqlStatement SqlCatalogList(const QString& job, const QString& version);    // 目録
SqlStatement SqlSkillList(const QString& catalog, const QString& version);  // 技能

// Searches: products (アイテム名, 生産数) or materials (材料).
SqlStatement SqlConditionSearch(const QString& job, const QString& catalog, const QString& skill,
                                const QString& version, const QString& equip);
SqlStatement SqlNameSearch(const QString& text);
SqlStatement SqlMaterialSearch(const QString& text);

// Statements about one item.
SqlStatement SqlItemMaterials(const QString& name);  // 材料, 必要数, 店買い
SqlStatement SqlMaterialUsers(const QString& name);  // アイテム名
SqlStatement SqlItemCount(const QString& name);      // 生産数
SqlStatement SqlItemYomi(const QString& name);       // ふりがな (may be NULL)
SqlStatement SqlItemJobs(const QString& name);       // 生産職業
SqlStatement SqlItemCatalog(const QString& name);    // 目録
SqlStatement SqlProductInfo(const QString& name);  // ふりがな, 生産数, 技能, 目録, 店売り, 店買い

// The same rows as SqlItemMaterials and SqlMaterialUsers for many items in one statement, without
// DISTINCT: each row carries its item (アイテム名 or 材料) and, per item, the rows come in the
// order in which the one-item statement meets them, duplicates included (the caller folds them).
SqlStatement sqlMaterialsOfItems(const QStringList& names);  // アイテム名, 材料, 必要数, 店買い
SqlStatement sqlUsersOfMaterials(const QStringList& names);  // 材料, アイテム名
// The rows of SqlProductInfo for many items, as sqlMaterialsOfItems: アイテム名 and its columns.
SqlStatement sqlProductInfoOfItems(const QStringList& names);
// Every product of the catalogues 知行産物 and 知行名物, once each.
SqlStatement sqlFiefProducts();  // アイテム名

// Set-based reads of many items at once, for walks that would otherwise run one statement per
// item. Each takes the names to look up (any number, duplicates allowed).
// The production rows of products: アイテム名, 生産職業, 目録, 技能, 生産数 (items with an
// ItemInfo row only, as SqlProductInfo).
SqlStatement sqlProductRows(const QStringList& names);
// The materials of products: アイテム名, 材料, 必要数, 店買い (materials with an ItemInfo row
// only, as SqlItemMaterials).
SqlStatement sqlMaterialRows(const QStringList& names);

// Whole tables in table order, for a walk that reaches most of the database: the same rows as the
// statements above for every item at once, joined in memory.
SqlStatement sqlAllRelations();     // アイテム名, 材料, 必要数
SqlStatement sqlAllItemPrices();    // アイテム名, 店買い
SqlStatement sqlAllProductNames();  // アイテム名
// Every item with both shop prices, for the own-price window.
SqlStatement sqlItemShopPrices();  // アイテム名, 店買い, 店売り
