# tests of inventory
