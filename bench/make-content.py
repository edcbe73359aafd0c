#!/usr/bin/env python3
"""Writes a generated content set of N files beside a link to the shipped media, for the content-scale
benchmark: items, actions, stations and levels in the proportions 3 : 5 : 1 : 1, levels naming many
actions and stations, actions requiring and giving items, stations offering actions.
Usage: make-content.py DIRECTORY FILES"""
import os
import sys

SKILLS = ["Fitness", "Mental", "Social", "Wealth", "Leadership"]
ICONS = sorted(os.listdir("media/items"))
STRIPS = ["Cafe", "Gym", "Home", "Library", "Market", "Office", "TownHall"]
TYPES = ["NOMINAL", "ASSET", "JOB", "BUILD"]


def write(path, lines):
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    root, files = sys.argv[1], int(sys.argv[2])
    items, actions, stations = files * 3 // 10, files // 2, files // 10
    levels = files - items - actions - stations
    for kind in ("items", "actions", "stations", "levels"):
        os.makedirs(os.path.join(root, "content", kind), exist_ok=True)
    media = os.path.join(root, "media")
    if not os.path.lexists(media):
        os.symlink(os.path.abspath("media"), media)
    for i in range(items):
        lines = [f'NAME="Item {i}"', f'TAG="item_{i}"', f'SetIcon("media/items/{ICONS[i % len(ICONS)]}")',
                 f'SetItemType("{TYPES[i % len(TYPES)]}")']
        if i % 4 == 1:
            lines.append(f'AutoAction("action_{(i * 7) % actions}")')
        if i % 4 == 2:
            lines.append(f'LockAction("action_{(i * 11) % actions}", "action_{(i * 13) % actions}")')
        write(os.path.join(root, "content", "items", f"Item{i}.txt"), lines)
    for i in range(actions):
        lines = [f'NAME="Action {i}"', f'TAG="action_{i}"', f'DESCRIPTION="Generated action number {i}."',
                 f'GiveSkill("{SKILLS[i % 5]}", "", "", "{1 + i % 9}")',
                 f'RequireSkill("{SKILLS[(i + 2) % 5]}", "{1 + i % 5}")',
                 f'RequireItem("item_{(i * 3) % items}")', f'GiveItem("item_{(i * 5 + 1) % items}", "50")',
                 f'TakeItem("item_{(i * 17) % items}")']
        if i < 5:  # a job's work is offered in every level; a handful of them, whatever the set's size
            lines.append("AutoAdd")
        write(os.path.join(root, "content", "actions", f"Action{i}.txt"), lines)
    for i in range(stations):
        strip = STRIPS[i % len(STRIPS)]
        lines = [f'SetImage("media/stations/{strip}.png", "100", "100", "0", "2")', f'NAME="Station {i}"',
                 f'TAG="station_{i}"', f'DESCRIPTION="Generated station {i}."', 'DATA="Click it."',
                 f'SetPosition("{(i * 37) % 700}", "{(i * 53) % 500}")']
        lines += [f'SetAction("action_{(i * 5 + k) % actions}")' for k in range(5)]
        write(os.path.join(root, "content", "stations", f"Station{i}.txt"), lines)
    for i in range(levels):
        lines = [f'NAME="L{i}"', f'TITLE="Level {i}"', 'INFO="A generated level."', f'LENGTH="{10 + i % 30}"',
                 f'SetItemGoal("item_{(i * 7) % items}")', f'SetSkillGoal("{i % 5}", "{2 + i % 8}")']
        lines += [f'SetStation("station_{(i * 3 + k) % stations}", "{k * 60}", "{k * 30 % 400}")'
                  for k in range(10)]
        lines += [f'AddAction("action_{(i * 29 + k * 97) % actions}")' for k in range(40)]
        lines += [f'RemoveAction("action_{(i * 29 + k * 97) % actions}")' for k in range(0, 40, 8)]
        write(os.path.join(root, "content", "levels", f"Level{i}.txt"), lines)


main()
