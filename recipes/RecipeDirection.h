#pragma once

// Which way a recipe search walks: from products to their materials (a search by conditions or
// by name), or from a material to the products made from it (a search by material).
enum class RecipeDirection { Forward, Reverse };
