# tests of companions
