#!/usr/bin/python3
# Prints every accessible object of the running quorvel as "role|name|description", one a line,
# for the end-to-end test to look for what assistive technology is told.
import pyatspi


def walk(node):
    print(f"{node.getRoleName()}|{node.name}|{node.description}")
    for index in range(node.childCount):
        walk(node.getChildAtIndex(index))


for application in pyatspi.Registry.getDesktop(0):
    if application is not None and application.name == "quorvel":
        walk(application)
